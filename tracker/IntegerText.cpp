#include "IntegerText.h"

#include <cstddef>

namespace {

constexpr int NotADigit = 99;

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return NotADigit;
}

bool IsHexMarkLetter(char c) { return c == 'x' || c == 'X'; }

}  // namespace

EConvertError::EConvertError(const std::string& text)
    : std::runtime_error("\"" + text + "\" is an invalid integer"), text_(text) {}

std::int32_t ReadIntegerText(const std::string& text) {
  const std::size_t end = text.size();
  std::size_t at = 0;
  while (at < end && (text[at] == ' ' || text[at] == '\t')) ++at;

  bool negative = false;
  if (at < end && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';

  int base = 10;
  if (at < end) {
    const char mark = text[at];
    if (mark == '$' || IsHexMarkLetter(mark)) {
      base = 16;
      ++at;
    } else if (mark == '%') {
      base = 2;
      ++at;
    } else if (mark == '&') {
      base = 8;
      ++at;
    } else if (mark == '0' && at + 1 < end && IsHexMarkLetter(text[at + 1])) {
      base = 16;
      at += 2;
    }
  }
  if (at == end) throw EConvertError(text);

  // Checked after every digit, so a long run of digits can never wrap the sum.
  const std::uint64_t limit = negative ? 2147483648u : 2147483647u;
  std::uint64_t magnitude = 0;
  for (; at < end; ++at) {
    const int digit = DigitValue(text[at]);
    if (digit >= base) throw EConvertError(text);
    magnitude = magnitude * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
    if (magnitude > limit) throw EConvertError(text);
  }
  const auto signedMagnitude = static_cast<std::int64_t>(magnitude);
  return static_cast<std::int32_t>(negative ? -signedMagnitude : signedMagnitude);
}

std::uint8_t LowByte(std::int32_t value) {
  return static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) & 0xFFu);
}
