// The number syntax of the SSIDs and the TX delay: what it reads, what it
// refuses, and the message a refusal carries.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "BlockTestSupport.h"
#include "IntegerText.h"

namespace {

struct Accepted {
  std::string text;
  std::int32_t value;
};

const Accepted kAccepted[] = {
    {"0", 0},
    {"7", 7},
    {"+7", 7},
    {"-7", -7},
    {"007", 7},
    {" \t 12", 12},
    {"\t-1", -1},
    {"$FF", 255},
    {"$ff", 255},
    {"xff", 255},
    {"X1F", 31},
    {"0x1F", 31},
    {"0XfF", 255},
    {"0x0", 0},
    {"-$10", -16},
    {"+x10", 16},
    {"%101", 5},
    {"-%1", -1},
    {"&17", 15},
    {"&0", 0},
    {"2147483647", 2147483647},
    {"-2147483648", INT32_MIN},
    {"$7FFFFFFF", 2147483647},
    {"-$80000000", INT32_MIN},
    {"%1111111111111111111111111111111", 2147483647},
    {"0000000000000000000000000042", 42},
};

// Each refused text, and why it is refused.
const std::string kRefused[] = {
    "",              // nothing at all
    " ",             // blanks only
    " \t",           //
    "+",             // a sign with no digit
    "-",             //
    "$",             // a base mark with no digit
    "x",             //
    "0x",            //
    "-0X",           //
    "%",             //
    "&",             //
    "12 ",           // a trailing blank
    "1 2",           // a blank inside
    "- 1",           // a blank after the sign
    "$ 1",           // a blank after the mark
    "--1",           // two signs
    "+-1",           //
    "$-1",           // the sign after the mark
    "1-",            //
    "%2",            // a digit outside the base
    "&8",            //
    "12a",           //
    "$G",            //
    "00x1",          // the mark after a leading zero
    "0b101",         // no such mark
    "1,",            //
    "\n1",           // only blanks and tabs lead
    "1\n",           //
    "\xEF\xBC\x91",  // a full-width digit one
    "2147483648",    // one past the largest value
    "-2147483649",   // one past the smallest
    "$80000000",     // no wrap to negative values
    "$FFFFFFFF",     //
    "99999999999999999999999",
};

TEST(IntegerText, ReadsEveryFormOfTheSyntax) {
  for (const Accepted& c : kAccepted) {
    SCOPED_TRACE("text: \"" + c.text + "\"");
    EXPECT_EQ(ReadIntegerText(c.text), c.value);
  }
}

TEST(IntegerText, RefusesEverythingElseQuotingTheWholeText) {
  for (const std::string& text : kRefused) {
    SCOPED_TRACE("text: \"" + text + "\"");
    try {
      const std::int32_t value = ReadIntegerText(text);
      ADD_FAILURE() << "read as " << value;
    } catch (const EConvertError& e) {
      EXPECT_EQ(std::string(e.what()), Invalid(text));
      EXPECT_EQ(e.Text(), text);
    }
  }
}

TEST(IntegerText, OneByteFieldTakesTheLowEightBits) {
  const struct {
    std::int32_t value;
    int byte;
  } rows[] = {{0, 0}, {255, 255}, {256, 0}, {-1, 255}, {-2, 254}, {-256, 0}, {-300, 212},
              {INT32_MIN, 0}, {INT32_MAX, 255}};
  for (const auto& r : rows) EXPECT_EQ(LowByte(r.value), r.byte) << "value " << r.value;
}

}  // namespace
