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
// without one): its first six bytes, a-z made A-Z, blanks to six, and a sixth
// byte other than A-Z sent as a blank. The SSID is read from at most two bytes
// after the "-", 0 without one.
CallWithSsid CallSignField(const std::string& entry);

// The entry under "ddmm.hhNdddmm.hhE" (Edit2): bytes 1-4, 6-13 and 15-17; the
// two points are skipped whatever they hold. Sixteen bytes are enough, the
// missing seventeenth goes out as 0x00.
std::array<std::uint8_t, 15> PositionField(const std::string& entry);

// "APRS-SYMBOL:" (Edit4): its first byte.
std::uint8_t SymbolField(const std::string& entry);

struct BeaconField {
  std::array<std::uint8_t, 64> bytes{};
  // An empty entry is sent as one blank, and the entry must show that blank.
  bool entrySetToBlank = false;
};

// "BEACON TEXT:" (Edit3): the first 64 bytes, cut even inside a character,
// padded with "_".
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

// "PATH:" (Edit5), split at its first ","; each part gives the call before its
// first "-" (kept in its case, blanks to six) and the SSID from at most two
// bytes after it. A call of more than six bytes is refused.
PathField PathFields(const std::string& entry);

// "TX-DELAY:" (Edit6): the whole entry as a number, above 250 sent as 250.
std::uint8_t TxDelayByte(const std::string& entry);
