#pragma once
// A colour as the layout and the drawing code write it: red in the low byte,
// green in the middle byte, blue in the high byte, the top byte 0. So
// 0x00FFFF is yellow, not cyan.

#include <cstdint>

using TColor = std::uint32_t;

constexpr TColor kGrey = 0x808080;
constexpr TColor kYellow = 0x00FFFF;
constexpr TColor kMagenta = 0xFF00FF;
constexpr TColor kDarkYellow = 0x00D7D7;
constexpr TColor kGreen = 0x00FF00;
constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kBlack = 0x000000;
constexpr TColor kPanelColour = 0x3F4738;

// The channels, 0 to 255.
constexpr std::uint8_t RedOf(TColor c) { return c & 0xFF; }
constexpr std::uint8_t GreenOf(TColor c) { return (c >> 8) & 0xFF; }
constexpr std::uint8_t BlueOf(TColor c) { return (c >> 16) & 0xFF; }
constexpr TColor MakeColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return TColor(red) | TColor(green) << 8 | TColor(blue) << 16;
}
