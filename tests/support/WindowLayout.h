#pragma once
// Where things are in KORVA's window, as its layout places them, in the
// window's inner coordinates ((0, 0) is the top-left pixel inside the
// frame), and the colours its lamps and panels show.

#include <cstdint>
#include <string>

namespace blackbox {

struct TPoint {
  int x = 0, y = 0;
};

struct TRect {
  int left = 0, top = 0, width = 0, height = 0;
  TPoint Centre() const { return {left + width / 2, top + height / 2}; }
};

// A control's rectangle by name: "Button1", "Button2", "Button4", "Button5",
// "Button6", "Edit1" to "Edit6", "ComboBox1" (its text field),
// "ComboBox1.Arrow" (the button that opens its list), "RadioButton1",
// "RadioButton3" to "RadioButton7", "CheckBox3", "UpDown1.Up",
// "UpDown1.Down", "Label9" (the threshold voltage). Throws std::out_of_range for any other name.
TRect ControlRect(const std::string& name);

enum class TLamp { WriteConf, GpsSimul, Tone, Tx, Beacon, Analog };

// The top-left corner of the lamp's 22 x 22 square.
TPoint LampCorner(TLamp lamp);
// Its centre pixel, inside the coloured disc.
TPoint LampCentre(TLamp lamp);

// A point inside the command panel that no lamp or control covers.
constexpr TPoint kCommandPanelPoint{125, 200};

// Colours as 0xBBGGRR, red in the low byte.
constexpr uint32_t kGrey = 0x808080, kYellow = 0x00FFFF, kMagenta = 0xFF00FF,
                   kDarkYellow = 0x00D7D7, kGreen = 0x00FF00, kWhite = 0xFFFFFF,
                   kBlack = 0x000000, kPanel = 0x3F4738;

}  // namespace blackbox
