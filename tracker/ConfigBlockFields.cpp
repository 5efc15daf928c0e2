#include "ConfigBlockFields.h"

#include <algorithm>
#include <cstddef>

namespace {

constexpr std::uint8_t Blank = 0x20;
constexpr std::size_t SsidTextBytes = 2;

bool IsUpperLetter(std::uint8_t byte) { return byte >= 'A' && byte <= 'Z'; }

std::uint8_t ToUpper(std::uint8_t byte) {
  return (byte >= 'a' && byte <= 'z') ? static_cast<std::uint8_t>(byte - 'a' + 'A') : byte;
}

// The byte at a zero-based place, 0x00 past the end of the text.
std::uint8_t ByteAt(const std::string& text, std::size_t at) {
  return at < text.size() ? static_cast<std::uint8_t>(text[at]) : 0x00;
}

CallField BlankPadded(const std::string& call) {
  CallField field;
  field.fill(Blank);
  std::copy_n(call.begin(), std::min(call.size(), field.size()), field.begin());
  return field;
}

// The SSID of a call written "CALL-SSID": read from at most two bytes after
// the "-" at dash, so "WIDE1-1,WI" fails on "1,".
std::uint8_t SsidAfter(const std::string& text, std::size_t dash) {
  return LowByte(ReadIntegerText(text.substr(dash + 1, SsidTextBytes)));
}

CallWithSsid PathPart(const std::string& part) {
  const std::size_t dash = part.find('-');
  const std::string call = part.substr(0, dash);
  if (call.size() > CallField().size())
    throw EInvalidEntry("PATH: the call \"" + call +
                        "\" is too long; each call takes at most 6 letters or digits, "
                        "such as APRS,WIDE2-2.");
  CallWithSsid result;
  result.call = BlankPadded(call);
  if (dash != std::string::npos) result.ssid = SsidAfter(part, dash);
  return result;
}

}  // namespace

CallWithSsid CallSignField(const std::string& entry) {
  if (entry.empty()) throw EInvalidEntry("CALLSIGN: needs a call sign, such as DL1AB-7.");
  const std::size_t dash = entry.find('-');
  if (dash == 0)
    throw EInvalidEntry("CALLSIGN: needs a call sign before the \"-\", such as DL1AB-7.");

  CallWithSsid result;
  result.call = BlankPadded(entry.substr(0, dash));
  for (std::uint8_t& byte : result.call) byte = ToUpper(byte);
  if (!IsUpperLetter(result.call.back())) result.call.back() = Blank;
  if (dash != std::string::npos) result.ssid = SsidAfter(entry, dash);
  return result;
}

std::array<std::uint8_t, 15> PositionField(const std::string& entry) {
  if (entry.size() < 16)
    throw EInvalidEntry(
        "Position: needs a position of the form ddmm.hhNdddmm.hhE, such as "
        "5224.12N00823.12E.");
  // Zero-based places of the bytes taken; 4 and 13 are the two points.
  static constexpr std::size_t taken[15] = {0, 1, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15, 16};
  std::array<std::uint8_t, 15> field{};
  for (std::size_t i = 0; i < field.size(); ++i) field[i] = ByteAt(entry, taken[i]);
  return field;
}

std::uint8_t SymbolField(const std::string& entry) {
  if (entry.empty())
    throw EInvalidEntry("APRS-SYMBOL: needs one symbol character, such as \"-\" or \">\".");
  return static_cast<std::uint8_t>(entry[0]);
}

BeaconField BeaconTextField(const std::string& entry) {
  BeaconField result;
  result.entrySetToBlank = entry.empty();
  const std::string text = result.entrySetToBlank ? std::string(" ") : entry;
  result.bytes.fill('_');
  std::copy_n(text.begin(), std::min(text.size(), result.bytes.size()), result.bytes.begin());
  return result;
}

std::uint8_t ThresholdByte(int position) {
  if (position < 0 || position > 50) throw std::out_of_range("UpDown1 position outside 0..50");
  // Integer arithmetic keeps the halves exact, so ties to even needs no
  // floating-point care.
  const int scaled = position * 255;
  int byte = scaled / 50;
  const int twiceRest = (scaled % 50) * 2;
  if (twiceRest > 50 || (twiceRest == 50 && byte % 2 == 1)) ++byte;
  return static_cast<std::uint8_t>(byte);
}

std::uint8_t IntervalByte(IntervalButton checked) {
  switch (checked) {
    case IntervalButton::RadioButton3: return 0;
    case IntervalButton::RadioButton4: return 2;
    case IntervalButton::RadioButton5: return 10;
    case IntervalButton::RadioButton6: return 20;
    case IntervalButton::RadioButton7: return 30;
    case IntervalButton::RadioButton1: return 60;
  }
  throw std::invalid_argument("no interval button checked");
}

std::uint8_t FlagsByte(IntervalButton checked, bool threshChecked) {
  const bool beaconOff = checked == IntervalButton::RadioButton3;
  return static_cast<std::uint8_t>((beaconOff ? 0x02 : 0x00) | (threshChecked ? 0x01 : 0x00));
}

PathField PathFields(const std::string& entry) {
  const std::size_t comma = entry.find(',');
  PathField result;
  result.first = PathPart(entry.substr(0, comma));
  result.second = PathPart(comma == std::string::npos ? std::string() : entry.substr(comma + 1));
  return result;
}

std::uint8_t TxDelayByte(const std::string& entry) {
  const std::int32_t value = ReadIntegerText(entry);
  return LowByte(value > 250 ? 250 : value);
}
