#include "WindowLayout.h"

#include <map>
#include <stdexcept>

namespace blackbox {

namespace {

// The beacon-interval group's inner area, which holds its radio buttons,
// starts here in the window: the group stands at (24, 168) and its frame
// and caption take the rest.
constexpr int kGroupInnerLeft = 24 + 2, kGroupInnerTop = 168 + 15;

TRect InGroup(int left, int top, int width, int height) {
  return {kGroupInnerLeft + left, kGroupInnerTop + top, width, height};
}

// The arrow button fills the right end of the port box.
constexpr int kComboArrowWidth = 20;

const std::map<std::string, TRect>& Controls() {
  static const std::map<std::string, TRect> controls{
      {"Button1", {164, 148, 76, 29}},
      {"Button2", {164, 188, 76, 29}},
      {"Button4", {164, 227, 76, 21}},
      {"Button5", {164, 250, 76, 21}},
      {"Button6", {164, 280, 76, 29}},
      {"Edit1", {28, 40, 85, 23}},
      {"Edit2", {247, 40, 116, 23}},
      {"Edit3", {120, 80, 176, 23}},
      {"Edit4", {28, 80, 16, 23}},
      {"Edit5", {120, 40, 112, 23}},
      {"Edit6", {86, 95, 26, 23}},
      {"ComboBox1", {304, 80, 59 - kComboArrowWidth, 27}},
      {"ComboBox1.Arrow", {304 + 59 - kComboArrowWidth, 80, kComboArrowWidth, 27}},
      {"RadioButton3", InGroup(6, 6, 72, 18)},
      {"RadioButton4", InGroup(6, 24, 72, 18)},
      {"RadioButton5", InGroup(6, 42, 72, 18)},
      {"RadioButton6", InGroup(6, 60, 72, 18)},
      {"RadioButton7", InGroup(6, 78, 72, 18)},
      {"RadioButton1", InGroup(6, 96, 72, 19)},
      {"CheckBox3", {287, 158, 77, 22}},
      {"UpDown1.Up", {311, 261, 25, 18}},
      {"UpDown1.Down", {311, 279, 25, 18}},
      {"Label9", {299, 232, 50, 20}},
  };
  return controls;
}

}  // namespace

TRect ControlRect(const std::string& name) {
  const auto found = Controls().find(name);
  if (found == Controls().end()) throw std::out_of_range("no control named " + name);
  return found->second;
}

TPoint LampCorner(TLamp lamp) {
  switch (lamp) {
    case TLamp::WriteConf: return {135, 151};
    case TLamp::GpsSimul: return {135, 191};
    case TLamp::Tone: return {135, 231};
    case TLamp::Tx: return {135, 271};
    case TLamp::Beacon: return {47, 145};
    case TLamp::Analog: return {311, 208};
  }
  throw std::out_of_range("no such lamp");
}

TPoint LampCentre(TLamp lamp) {
  const TPoint corner = LampCorner(lamp);
  return {corner.x + 11, corner.y + 11};
}

}  // namespace blackbox
