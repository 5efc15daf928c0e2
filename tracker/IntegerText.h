// The number syntax shared by the SSIDs and the TX delay, and the error a text
// outside it raises.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// A text that is not an integer. what() quotes the text exactly as it was
// handed over, so the user sees which bytes were read.
class EConvertError : public std::runtime_error {
 public:
  explicit EConvertError(const std::string& text);
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

// Any blanks and tabs, an optional "+" or "-", an optional base mark ("$", "x",
// "X", "0x", "0X" for hexadecimal, "%" for binary, "&" for octal), then one or
// more digits of that base up to the end of the text. Anything else throws
// EConvertError, and so does a value whose magnitude does not fit a signed
// 32-bit integer with its sign: "$FFFFFFFF" is refused rather than wrapped to -1.
std::int32_t ReadIntegerText(const std::string& text);

// What a one-byte field sends of a value: its low eight bits (-1 goes out as 255).
std::uint8_t LowByte(std::int32_t value);
