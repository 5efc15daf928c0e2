#pragma once
// Colours as this program writes them: red in the low byte, green in the
// middle one, blue in the high one (0x00FFFF is yellow).

#include <cstdint>

using TColor = std::uint32_t;

constexpr TColor kBlack = 0x000000;
constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kGrey = 0x808080;
constexpr TColor kYellow = 0x00FFFF;
constexpr TColor kMagenta = 0xFF00FF;
constexpr TColor kDarkYellow = 0x00D7D7;
constexpr TColor kGreen = 0x00FF00;
constexpr TColor kPanelColour = 0x3F4738;

constexpr double RedOf(TColor c) { return (c & 0xFF) / 255.0; }
constexpr double GreenOf(TColor c) { return ((c >> 8) & 0xFF) / 255.0; }
constexpr double BlueOf(TColor c) { return ((c >> 16) & 0xFF) / 255.0; }
