// How each field of the configuration block is made from the text of its
// entry. A field maker either returns the field's bytes or throws: EConvertError
// for a number it cannot read, EInvalidEntry for an entry it can make no sound
// field of. Within one maker the faults are met in the order the field's bytes
// stand in the block (a call before its SSID).
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "IntegerText.h"

// An entry that cannot give its field; the message names the entry by the
// caption the window shows and says what it must hold.
class EInvalidEntry : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

using CallField = std::array<std::uint8_t, 6>;

// One call as the block carries it: six bytes and the SSID byte that follows.
struct CallWithSsid {
  CallField call{};
  std::uint8_t ssid = 0;
};

// "CALLSIGN:" (Edit1). The call is the text before the first "-" (all of it
// without one): 1 to 6 letters or digits, upper-cased and filled with blanks
// to six. The SSID is the text after the "-", at most two bytes read as an
// integer text, 0 to 15; 0 without a "-". Anything else is refused, since the
// tracker would put another call, or a frame no station decodes, on air.
CallWithSsid CallSignField(const std::string& entry);

// The entry under "ddmm.hhNdddmm.hhE" (Edit2): bytes 1-4, 6-13 and 15-17, the
// two points skipped whatever they hold and bytes after the 17th ignored. The
// taken bytes must be digits where the form shows d, m or h, N or S and E or W
// (either case, sent upper-case) where it shows N and E, with minutes below 60,
// the latitude at most 90 degrees and the longitude at most 180.
std::array<std::uint8_t, 15> PositionField(const std::string& entry);

// "APRS-SYMBOL:" (Edit4): its first byte, a printable character "!" to "~".
std::uint8_t SymbolField(const std::string& entry);

struct BeaconField {
  std::array<std::uint8_t, 64> bytes{};
  // An empty entry is sent as one blank, and the entry must show that blank.
  bool entrySetToBlank = false;
};

// "BEACON TEXT:" (Edit3): as many whole characters as fit in 64 bytes, padded
// with "_"; a character cut in two would reach the air as a broken byte.
BeaconField BeaconTextField(const std::string& entry);

// The UpDown1 position, 0 to 50 tenths of a volt, scaled to 0-255 with an
// exact half going to the even neighbour. Throws std::out_of_range outside
// 0..50, which the control never gives.
std::uint8_t ThresholdByte(int position);

// The six buttons of the beacon-interval group, one of them checked.
enum class IntervalButton {
  RadioButton3,  // "OFF"
  RadioButton4,  // "  2 min"
  RadioButton5,  // "10 min"
  RadioButton6,  // "20 min"
  RadioButton7,  // "30 min"
  RadioButton1,  // "60 min"
};

// Minutes between beacons, 0 for "OFF".
std::uint8_t IntervalByte(IntervalButton checked);

// 0x02 while "OFF" is checked, 0x01 while "THRESH." (CheckBox3) is.
std::uint8_t FlagsByte(IntervalButton checked, bool threshChecked);

struct PathField {
  CallWithSsid first;
  CallWithSsid second;
};

// "PATH:" (Edit5): at most two calls separated by ",". Each is either empty
// (six blanks, SSID 0) or a call with an optional SSID by the rule of
// "CALLSIGN:", upper-cased too: a digipeater answers "WIDE2", never "wide2".
PathField PathFields(const std::string& entry);

// "TX-DELAY:" (Edit6): the whole entry as a number, above 250 sent as 250. A
// negative value is refused: its low byte would pass the cap.
std::uint8_t TxDelayByte(const std::string& entry);
