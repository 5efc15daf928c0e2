#include "ConfigBlockFields.h"

#include <algorithm>
#include <cstddef>

namespace {

constexpr std::uint8_t Blank = 0x20;
constexpr std::size_t SsidTextBytes = 2;
constexpr std::int32_t LargestSsid = 15;  // the 4 bits AX.25 gives it

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

char ToUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// What every call on air is made of: 1 to 6 letters or digits, sent
// upper-case and filled with blanks.
CallField CallBytes(const std::string& call, const std::string& caption, const std::string& example,
                    bool ssidFollows) {
  if (call.empty())
    throw EInvalidEntry(caption +
                        (ssidFollows ? ": needs a call sign before the \"-\", such as "
                                     : ": needs a call sign, such as ") +
                        example);
  if (!std::all_of(call.begin(), call.end(), [](char c) { return IsLetter(c) || IsDigit(c); }))
    throw EInvalidEntry(caption + ": " + Quoted(call) +
                        " has a character other than a letter A-Z or a digit");
  CallField field;
  if (call.size() > field.size())
    throw EInvalidEntry(caption + ": " + Quoted(call) +
                        " is longer than the 6 characters a call sign can have");
  field.fill(Blank);
  std::transform(call.begin(), call.end(), field.begin(), ToUpper);
  return field;
}

// The bytes after the "-": two at most, so "123" is not quietly read as 12,
// and a value the 4-bit SSID field holds.
std::uint8_t SsidByte(const std::string& text, const std::string& caption) {
  if (text.size() > SsidTextBytes)
    throw EInvalidEntry(caption + ": the SSID " + Quoted(text) + " is longer than 2 characters");
  const std::int32_t value = ReadIntegerText(text);
  if (value < 0 || value > LargestSsid)
    throw EInvalidEntry(caption + ": the SSID " + Quoted(text) + " is not from 0 to 15");
  return static_cast<std::uint8_t>(value);
}

// "CALL" or "CALL-SSID", as the station's call and each path call are written.
CallWithSsid CallAndSsid(const std::string& text, const std::string& caption,
                         const std::string& example) {
  const std::size_t dash = text.find('-');
  const bool hasSsid = dash != std::string::npos;
  CallWithSsid result;
  result.call = CallBytes(text.substr(0, dash), caption, example, hasSsid);
  if (hasSsid) result.ssid = SsidByte(text.substr(dash + 1), caption);
  return result;
}

CallWithSsid PathPart(const std::string& part) {
  if (part.empty()) {
    CallWithSsid none;
    none.call.fill(Blank);
    return none;
  }
  return CallAndSsid(part, "PATH", "WIDE2-2");
}

}  // namespace

CallWithSsid CallSignField(const std::string& entry) {
  return CallAndSsid(entry, "CALLSIGN", "DL1AB-7");
}

namespace {

constexpr std::size_t PositionBytes = 17;

[[noreturn]] void RefusePosition(const std::string& entry, const std::string& fault) {
  throw EInvalidEntry("ddmm.hhNdddmm.hhE: " + Quoted(entry) + " " + fault);
}

int DigitsValue(const std::string& text, std::size_t from, std::size_t count) {
  int value = 0;
  for (std::size_t i = from; i < from + count; ++i) value = value * 10 + (text[i] - '0');
  return value;
}

// The angle written from `from` as degrees, two digits of minutes, a point
// and two digits of hundredths; every digit already checked.
void CheckAngle(const std::string& entry, std::size_t from, std::size_t degreeDigits,
                int largestDegrees, const std::string& name) {
  const int degrees = DigitsValue(entry, from, degreeDigits);
  const int minutes = DigitsValue(entry, from + degreeDigits, 2);
  const int hundredths = DigitsValue(entry, from + degreeDigits + 3, 2);
  if (minutes >= 60) RefusePosition(entry, "has " + name + " minutes of 60 or more");
  if (degrees > largestDegrees || (degrees == largestDegrees && minutes + hundredths > 0))
    RefusePosition(entry,
                   "has a " + name + " beyond " + std::to_string(largestDegrees) + " degrees");
}

char Hemisphere(const std::string& entry, std::size_t at, char one, char other,
                const std::string& after) {
  const char letter = ToUpper(entry[at]);
  if (letter != one && letter != other)
    RefusePosition(entry, std::string("needs ") + one + " or " + other + " after the " + after);
  return letter;
}

}  // namespace

std::array<std::uint8_t, 15> PositionField(const std::string& entry) {
  if (entry.size() < PositionBytes)
    RefusePosition(entry,
                   "is shorter than the 17 characters of a position such as "
                   "5224.12N00823.12E");
  // Zero-based places of what the form shows as d, m and h; 4 and 13 are the
  // two points, 7 and 16 the hemispheres.
  static constexpr std::size_t digits[] = {0, 1, 2, 3, 5, 6, 8, 9, 10, 11, 12, 14, 15};
  for (std::size_t at : digits)
    if (!IsDigit(entry[at]))
      RefusePosition(entry, "has something other than a digit where the form shows d, m or h");
  const char northSouth = Hemisphere(entry, 7, 'N', 'S', "latitude");
  const char eastWest = Hemisphere(entry, 16, 'E', 'W', "longitude");
  CheckAngle(entry, 0, 2, 90, "latitude");
  CheckAngle(entry, 8, 3, 180, "longitude");

  const std::string taken = entry.substr(0, 4) + entry.substr(5, 2) + northSouth +
                            entry.substr(8, 5) + entry.substr(14, 2) + eastWest;
  std::array<std::uint8_t, 15> field{};
  std::copy(taken.begin(), taken.end(), field.begin());
  return field;
}

std::uint8_t SymbolField(const std::string& entry) {
  if (entry.empty())
    throw EInvalidEntry("APRS-SYMBOL: needs one symbol character, such as \"-\" or \">\"");
  const auto symbol = static_cast<std::uint8_t>(entry[0]);
  if (symbol < '!' || symbol > '~')
    throw EInvalidEntry("APRS-SYMBOL: " + Quoted(entry) +
                        " is not one of the printable characters from ! to ~");
  return symbol;
}

BeaconField BeaconTextField(const std::string& entry) {
  BeaconField result;
  result.entrySetToBlank = entry.empty();
  const std::string text = result.entrySetToBlank ? std::string(" ") : entry;
  result.bytes.fill('_');
  // Where the cut would leave the continuation bytes of a character behind,
  // the whole character stays out; a UTF-8 character has at most three.
  std::size_t length = std::min(text.size(), result.bytes.size());
  const auto continues = [&text](std::size_t at) {
    return at < text.size() && (static_cast<std::uint8_t>(text[at]) & 0xC0) == 0x80;
  };
  for (int back = 0; back < 3 && length > 0 && continues(length); ++back) --length;
  std::copy_n(text.begin(), length, result.bytes.begin());
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
  const std::string rest = comma == std::string::npos ? std::string() : entry.substr(comma + 1);
  if (rest.find(',') != std::string::npos)
    throw EInvalidEntry("PATH: " + Quoted(entry) +
                        " has more than the 2 calls the tracker sends, such as APRS,WIDE2-2");
  result.second = PathPart(rest);
  return result;
}

std::uint8_t TxDelayByte(const std::string& entry) {
  const std::int32_t value = ReadIntegerText(entry);
  if (value < 0) throw EInvalidEntry("TX-DELAY: " + Quoted(entry) + " is below 0");
  return LowByte(value > 250 ? 250 : value);
}
