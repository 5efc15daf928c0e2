// Fixed-seed random inputs: the reader gets back every value it is shown in
// any written form, and neither the reader nor the encoder ever answers with
// anything but a value, a whole block, or one of its two errors.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "BlockTestSupport.h"
#include "ConfigBlock.h"
#include "IntegerText.h"

namespace {

class RandomText {
 public:
  explicit RandomText(std::uint32_t seed) : engine_(seed) {}

  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(engine_); }
  bool Coin() { return Below(2) == 1; }
  std::int32_t AnyInt32() {
    // Edges a quarter of the time, since that is where overflow hides.
    static const std::int32_t edges[] = {0, 1, -1, 255, 256, 250, 251,
                                         std::numeric_limits<std::int32_t>::max(),
                                         std::numeric_limits<std::int32_t>::min()};
    if (Below(4) == 0) return edges[Below(static_cast<int>(std::size(edges)))];
    return std::uniform_int_distribution<std::int32_t>(
        std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max())(engine_);
  }
  std::string From(const std::string& alphabet, int maxLength) {
    std::string text;
    for (int n = Below(maxLength + 1); n > 0; --n)
      text += alphabet[static_cast<std::size_t>(Below(static_cast<int>(alphabet.size())))];
    return text;
  }

 private:
  std::mt19937 engine_;
};

std::string Digits(std::uint64_t magnitude, int base, bool upper) {
  const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string text;
  do {
    text.insert(text.begin(), digits[magnitude % static_cast<std::uint64_t>(base)]);
    magnitude /= static_cast<std::uint64_t>(base);
  } while (magnitude != 0);
  return text;
}

// value written in a random base, mark, case, sign, lead and leading zeros.
std::string WriteRandomly(RandomText& rnd, std::int32_t value) {
  static const int bases[] = {2, 8, 10, 16};
  static const char* hexMarks[] = {"$", "x", "X", "0x", "0X"};
  const int base = bases[rnd.Below(4)];
  std::string text = rnd.From(" \t", 3);
  if (value < 0) text += '-';
  else if (rnd.Coin()) text += '+';
  if (base == 2) text += '%';
  if (base == 8) text += '&';
  if (base == 16) text += hexMarks[rnd.Below(5)];
  text += std::string(static_cast<std::size_t>(rnd.Below(3)), '0');
  const std::int64_t wide = value;
  text += Digits(static_cast<std::uint64_t>(wide < 0 ? -wide : wide), base, rnd.Coin());
  return text;
}

TEST(IntegerTextProperty, EveryWrittenFormReadsBackToItsValue) {
  RandomText rnd(20240611u);
  for (int i = 0; i < 4000; ++i) {
    const std::int32_t value = rnd.AnyInt32();
    const std::string text = WriteRandomly(rnd, value);
    ASSERT_NO_THROW(EXPECT_EQ(ReadIntegerText(text), value) << "text \"" << text << "\"")
        << "text \"" << text << "\"";
  }
}

TEST(IntegerTextProperty, AnyTextGivesAValueOrTheConversionError) {
  RandomText rnd(77u);
  const std::string alphabet = " \t+-$xX0%&17fFgG,.\xC3";
  for (int i = 0; i < 5000; ++i) {
    const std::string text = rnd.From(alphabet, 12);
    try {
      ReadIntegerText(text);
      // Whatever was read, a trailing blank must spoil it.
      EXPECT_THROW(ReadIntegerText(text + " "), EConvertError) << "text \"" << text << "\"";
    } catch (const EConvertError& e) {
      ASSERT_EQ(std::string(e.what()), Invalid(text));
    } catch (const std::exception& e) {
      FAIL() << "text \"" << text << "\": " << e.what();
    }
  }
}

std::string Pick(RandomText& rnd, std::initializer_list<const char*> choices, const std::string& alphabet,
                 int maxLength) {
  const int n = static_cast<int>(choices.size());
  const int which = rnd.Below(n + 1);
  if (which == n) return rnd.From(alphabet, maxLength);
  return *(choices.begin() + which);
}

ConfigEntries RandomEntries(RandomText& rnd) {
  const std::string junk = "aZ09-,$x %_\t\xC3\xA4";
  ConfigEntries e;
  e.callSign = Pick(rnd, {"MYCALL-3", "dl1ab-7", "AB1C-7", "-", "K1AB", "DL1AB-", ""}, junk, 10);
  e.position = Pick(rnd, {"5224.12N00823.12E", "5224.12N00823.12", "5224"}, junk, 20);
  e.beaconText = Pick(rnd, {"MY TEXT", ""}, junk, 80);
  e.symbol = Pick(rnd, {"-", ""}, junk, 2);
  e.path = Pick(rnd, {"APRS,WIDE2-2", "APRS,WIDE1-1,WI", "", ",", "LONGCALL"}, junk, 16);
  e.txDelay = Pick(rnd, {"50", "999", "-1", "$FF", ""}, junk, 4);
  e.interval = static_cast<IntervalButton>(rnd.Below(6));
  e.threshChecked = rnd.Coin();
  e.upDownPosition = rnd.Below(51);
  return e;
}

TEST(ConfigBlockProperty, AnyEntriesGiveAWholeBlockOrOneOfTheTwoErrors) {
  namespace at = ConfigBlockOffset;
  RandomText rnd(4242u);
  int encoded = 0;
  for (int i = 0; i < 4000; ++i) {
    const ConfigEntries e = RandomEntries(rnd);
    SCOPED_TRACE("CALLSIGN \"" + e.callSign + "\" position \"" + e.position + "\" symbol \"" +
                 e.symbol + "\" PATH \"" + e.path + "\" TX-DELAY \"" + e.txDelay + "\"");
    try {
      const ConfigBlock block = EncodeConfigBlock(e);
      ++encoded;
      for (std::size_t k = at::CallSign; k < at::CallSign + 5; ++k)
        ASSERT_FALSE(block.bytes[k] >= 'a' && block.bytes[k] <= 'z');
      const std::uint8_t sixth = block.bytes[at::CallSign + 5];
      ASSERT_TRUE(sixth == ' ' || (sixth >= 'A' && sixth <= 'Z'));
      ASSERT_EQ(ByteAt(block, at::Constant), 1);
      ASSERT_EQ(ByteAt(block, at::Threshold), ThresholdByte(e.upDownPosition));
      ASSERT_EQ(ByteAt(block, at::Flags), FlagsByte(e.interval, e.threshChecked));
      ASSERT_EQ(ByteAt(block, at::Interval), IntervalByte(e.interval));
      ASSERT_EQ(Slice(block, at::Filler, 22), std::string(22, 'X'));
      ASSERT_EQ(block.beaconEntrySetToBlank, e.beaconText.empty());
    } catch (const EConvertError&) {
    } catch (const EInvalidEntry&) {
    } catch (const std::exception& other) {
      FAIL() << "unexpected error: " << other.what();
    }
  }
  // The loop means little if nearly every input is refused.
  EXPECT_GT(encoded, 200);
}

}  // namespace
