// Fixed-seed random inputs: the reader gets back every value it is shown in
// any written form, and the encoder answers any entries with one of its two
// errors or with a block whose every field can go on air as it stands.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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

std::string Pick(RandomText& rnd, std::initializer_list<const char*> choices,
                 const std::string& alphabet, int maxLength) {
  const int n = static_cast<int>(choices.size());
  const int which = rnd.Below(n + 1);
  if (which == n) return rnd.From(alphabet, maxLength);
  return *(choices.begin() + which);
}

// Something close to a call with an SSID, so that many pass and the edges
// (7 characters, SSID 16, three SSID bytes, a lower-case letter) turn up often.
std::string NearlyACall(RandomText& rnd) {
  std::string text = rnd.From("ABCXYZabz0189", 7);
  if (text.empty()) text = "Q";
  if (rnd.Below(3) == 0) text += "-" + rnd.From("1111222230$F", 3);
  return text;
}

std::string TwoDigits(int value) {
  return {static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}

// "ddmm.hhNdddmm.hhE" with values a little past the globe's and letters of
// either case.
std::string NearlyAPosition(RandomText& rnd) {
  const int longitude = rnd.Below(183);
  return TwoDigits(rnd.Below(92)) + TwoDigits(rnd.Below(62)) + "." + TwoDigits(rnd.Below(100)) +
         "NnSs"[rnd.Below(4)] + std::to_string(longitude / 100) + TwoDigits(longitude) +
         TwoDigits(rnd.Below(62)) + "." + TwoDigits(rnd.Below(100)) + "EeWw"[rnd.Below(4)];
}

// Whole UTF-8 characters of one to four bytes.
std::string Utf8Text(RandomText& rnd, int maxCharacters) {
  static const char* characters[] = {"a", "_", " ", "\xC3\xA4", "\xE2\x82\xAC", "\xF0\x9F\x98\x80"};
  std::string text;
  for (int n = rnd.Below(maxCharacters + 1); n > 0; --n) text += characters[rnd.Below(6)];
  return text;
}

ConfigEntries RandomEntries(RandomText& rnd) {
  const std::string junk = "aZ09-,$x %_\t\xC3\xA4";
  ConfigEntries e;
  e.callSign =
      rnd.Below(6) == 0 ? Pick(rnd, {"MYCALL-3", "-", "DL1AB-", ""}, junk, 10) : NearlyACall(rnd);
  e.position = rnd.Below(6) == 0 ? Pick(rnd, {"5224.12N00823.12E", "5224.12N00823.12"}, junk, 20)
                                 : NearlyAPosition(rnd);
  e.beaconText = rnd.Below(8) == 0 ? std::string() : Utf8Text(rnd, 70);
  e.symbol = Pick(rnd, {"-", "/", "~", "!", ""}, " ~!\x7F\xC3", 1);
  const int calls = rnd.Below(4);
  e.path = rnd.Below(6) == 0
               ? Pick(rnd, {"APRS,WIDE1-1,WI", ",", "LONGCALL"}, junk, 16)
               : (calls > 0 ? NearlyACall(rnd) : "") + (calls > 1 ? "," + NearlyACall(rnd) : "");
  e.txDelay = rnd.Below(6) != 0 ? std::to_string(rnd.Below(300) - 20)
                                : Pick(rnd, {"999", "$FF", ""}, junk, 4);
  e.interval = static_cast<IntervalButton>(rnd.Below(6));
  e.threshChecked = rnd.Coin();
  e.upDownPosition = rnd.Below(51);
  return e;
}

bool IsUpperOrDigit(char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

// Six bytes: one to six of A-Z and 0-9, then blanks; or, where allowed, six blanks.
bool SoundCall(const std::string& call, bool mayBeEmpty) {
  const std::size_t end = call.find(' ');
  if (end == 0) return mayBeEmpty && call == "      ";
  return std::all_of(call.begin(),
                     call.begin() + static_cast<std::ptrdiff_t>(std::min(end, call.size())),
                     IsUpperOrDigit) &&
         (end == std::string::npos || call.find_first_not_of(' ', end) == std::string::npos);
}

bool IsDigitByte(char c) { return c >= '0' && c <= '9'; }

int Number(const std::string& text) { return std::stoi(text); }

// "522412N0082312E": digits, hemispheres, and a place on the globe.
bool SoundPosition(const std::string& field) {
  for (std::size_t i : {0, 1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12, 13})
    if (!IsDigitByte(field[i])) return false;
  if ((field[6] != 'N' && field[6] != 'S') || (field[14] != 'E' && field[14] != 'W')) return false;
  const int latitude = Number(field.substr(0, 6)), longitude = Number(field.substr(7, 7));
  return latitude / 100 % 100 < 60 && longitude / 100 % 100 < 60 && latitude <= 900000 &&
         longitude <= 1800000;
}

// The beacon field: as many whole characters of the text as fit, then "_".
bool SoundBeacon(const std::string& field, const std::string& text) {
  const std::string sent = text.empty() ? " " : text;
  std::size_t whole = 0;  // bytes of the characters that fit whole
  for (std::size_t at = 0; at < sent.size();) {
    const auto lead = static_cast<unsigned char>(sent[at]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (at + length > 64) break;
    at += length;
    whole = at;
  }
  return field == sent.substr(0, whole) + std::string(64 - whole, '_');
}

int MinutesOf(IntervalButton button) {
  switch (button) {
    case IntervalButton::RadioButton3:
      return 0;
    case IntervalButton::RadioButton4:
      return 2;
    case IntervalButton::RadioButton5:
      return 10;
    case IntervalButton::RadioButton6:
      return 20;
    case IntervalButton::RadioButton7:
      return 30;
    case IntervalButton::RadioButton1:
      return 60;
  }
  return -1;
}

// Every encoded block carries only what can go on air, whatever the entries.
TEST(ConfigBlockProperty, AnyEntriesGiveASoundBlockOrOneOfTheTwoErrors) {
  namespace at = ConfigBlockOffset;
  RandomText rnd(4242u);
  int encoded = 0, refused = 0;
  for (int i = 0; i < 10000; ++i) {
    const ConfigEntries e = RandomEntries(rnd);
    SCOPED_TRACE("CALLSIGN \"" + e.callSign + "\" position \"" + e.position + "\" symbol \"" +
                 e.symbol + "\" PATH \"" + e.path + "\" TX-DELAY \"" + e.txDelay + "\"");
    try {
      const ConfigBlock block = EncodeConfigBlock(e);
      ++encoded;
      ASSERT_TRUE(SoundCall(Slice(block, at::CallSign, 6), false)) << Slice(block, at::CallSign, 6);
      ASSERT_LE(ByteAt(block, at::CallSignSsid), 15);
      ASSERT_EQ(ByteAt(block, at::Constant), 1);
      ASSERT_TRUE(SoundPosition(Slice(block, at::Position, 15))) << Slice(block, at::Position, 15);
      ASSERT_GE(ByteAt(block, at::Symbol), '!');
      ASSERT_LE(ByteAt(block, at::Symbol), '~');
      ASSERT_TRUE(SoundBeacon(Slice(block, at::BeaconText, 64), e.beaconText))
          << Slice(block, at::BeaconText, 64);
      ASSERT_EQ(block.beaconEntrySetToBlank, e.beaconText.empty());
      // The floating-point reading of the scale, rounded to even: another road
      // to the same bytes.
      ASSERT_EQ(ByteAt(block, at::Threshold), std::nearbyint(e.upDownPosition * 255.0 / 50.0));
      ASSERT_EQ(ByteAt(block, at::Flags),
                (e.interval == IntervalButton::RadioButton3 ? 2 : 0) + (e.threshChecked ? 1 : 0));
      ASSERT_EQ(ByteAt(block, at::Interval), MinutesOf(e.interval));
      for (std::size_t call : {at::FirstPathCall, at::SecondPathCall}) {
        ASSERT_TRUE(SoundCall(Slice(block, call, 6), true)) << Slice(block, call, 6);
        ASSERT_LE(ByteAt(block, call + 6), 15);
        if (Slice(block, call, 6) == "      ") {
          ASSERT_EQ(ByteAt(block, call + 6), 0);
        }
      }
      ASSERT_LE(ByteAt(block, at::TxDelay), 250);
      ASSERT_EQ(Slice(block, at::Filler, 22), std::string(22, 'X'));
    } catch (const EConvertError&) {
      ++refused;
    } catch (const EInvalidEntry&) {
      ++refused;
    } catch (const std::exception& other) {
      FAIL() << "unexpected error: " << other.what();
    }
  }
  // The loop means little if nearly every input goes one way.
  EXPECT_GT(encoded, 1000);
  EXPECT_GT(refused, 1000);
}

}  // namespace
