// Each field of the block made from its entry, one table of accepted and one of
// refused entries per field. Accepted entries are read back from the block at
// the field's offset, so a misplaced field fails too; refused ones must give
// the exact error, and each says why it is refused.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "BlockTestSupport.h"
#include "ConfigBlock.h"

namespace {

namespace at = ConfigBlockOffset;

// The stored entries with one change.
ConfigBlock EncodeWith(const std::function<void(ConfigEntries&)>& change) {
  ConfigEntries e = StoredLayoutEntries();
  change(e);
  return EncodeConfigBlock(e);
}

struct RefusedRow {
  std::string entry;
  std::string fault;  // FaultOf's text
  const char* reason;
};

// Each entry in place of the stored one must be refused with its fault.
void ExpectRefused(std::string ConfigEntries::*field, const std::vector<RefusedRow>& rows) {
  for (const RefusedRow& r : rows) {
    SCOPED_TRACE("\"" + r.entry + "\": " + r.reason);
    ConfigEntries e = StoredLayoutEntries();
    e.*field = r.entry;
    EXPECT_EQ(FaultOf(e), r.fault);
  }
}

std::string CallSignFault(const std::string& message) { return EntryFault("CALLSIGN: " + message); }

std::string PathFault(const std::string& message) { return EntryFault("PATH: " + message); }

std::string PositionFault(const std::string& entry, const std::string& message) {
  return EntryFault("ddmm.hhNdddmm.hhE: \"" + entry + "\" " + message);
}

// ---- call sign --------------------------------------------------------------

TEST(CallSignField, OneToSixLettersOrDigitsUpperCasedWithAnSsidUpTo15) {
  const struct {
    std::string entry;
    std::string call;
    int ssid;
  } rows[] = {
      {"dl1ab-7", "DL1AB ", 7},   {"DL1ABC-12", "DL1ABC", 12}, {"DL1AB", "DL1AB ", 0},
      {"AB1C-7", "AB1C  ", 7},    {"TEST12", "TEST12", 0},  // a sixth byte that is a digit stays
      {"K1AB", "K1AB  ", 0},      {"k", "K     ", 0},          {"123456", "123456", 0},
      {"dl1abc-1", "DL1ABC", 1},  {"DL1AB-0", "DL1AB ", 0},    {"DL1AB-15", "DL1AB ", 15},
      {"DL1AB-$F", "DL1AB ", 15}, {"DL1AB- 5", "DL1AB ", 5},   {"DL1AB-+5", "DL1AB ", 5},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE("CALLSIGN: \"" + r.entry + "\"");
    const ConfigBlock block = EncodeWith([&](ConfigEntries& e) { e.callSign = r.entry; });
    EXPECT_EQ(Slice(block, at::CallSign, 6), r.call);
    EXPECT_EQ(ByteAt(block, at::CallSignSsid), r.ssid);
  }
}

TEST(CallSignField, RefusesWhatWouldGoOnAirAsAnotherCall) {
  const std::string longer = " is longer than the 6 characters a call sign can have";
  const std::string notLetter = " has a character other than a letter A-Z or a digit";
  ExpectRefused(
      &ConfigEntries::callSign,
      {
          {"", CallSignFault("needs a call sign, such as DL1AB-7"), "empty"},
          {"-7", CallSignFault("needs a call sign before the \"-\", such as DL1AB-7"),
           "only an SSID"},
          {"-", CallSignFault("needs a call sign before the \"-\", such as DL1AB-7"),
           "only a dash"},
          {"DL1ABCD", CallSignFault("\"DL1ABCD\"" + longer),
           "7 characters, which went out cut to DL1ABC, another licensee's call"},
          {"DL1ABCDE-9", CallSignFault("\"DL1ABCDE\"" + longer), "8 characters"},
          {"DL1\xC3\xA4"
           "B",
           CallSignFault("\"DL1\xC3\xA4"
                         "B\"" +
                         notLetter),
           "a letter outside A-Z, 6 bytes in 5 characters"},
          {"DL1 AB", CallSignFault("\"DL1 AB\"" + notLetter), "a blank inside"},
          {"DL1AB ", CallSignFault("\"DL1AB \"" + notLetter), "a trailing blank"},
          {"      ", CallSignFault("\"      \"" + notLetter), "blanks only"},
          {"DL1.AB", CallSignFault("\"DL1.AB\"" + notLetter), "punctuation"},
          {"DL1AB-16", CallSignFault("the SSID \"16\" is not from 0 to 15"),
           "the 4-bit SSID field holds 0 to 15"},
          {"DL1AB-99", CallSignFault("the SSID \"99\" is not from 0 to 15"), "went out as 99"},
          {"DL1AB--1", CallSignFault("the SSID \"-1\" is not from 0 to 15"), "went out as 255"},
          {"DL1AB-123", CallSignFault("the SSID \"123\" is longer than 2 characters"),
           "3 SSID bytes, which went out as 12"},
          {"DL1AB-$1F", CallSignFault("the SSID \"$1F\" is longer than 2 characters"),
           "3 SSID bytes, 31 besides"},
          {"DL1AB-X", ConversionFault("X"), "no number"},
          {"DL1AB-5 ", ConversionFault("5 "), "a trailing blank after the number"},
          {"DL1AB-", ConversionFault(""), "a dash and nothing after it"},
      });
}

// ---- position ----------------------------------------------------------------

TEST(PositionField, DigitsAndHemispheresWithinTheGlobeSkippingTheTwoPoints) {
  const struct {
    std::string entry;
    std::string field;
  } rows[] = {
      {"5224.12N00823.12E", "522412N0082312E"},
      {"5224,12N00823,12E", "522412N0082312E"},      // the points are skipped whatever they hold
      {"5224.12N00823.12EXTRA", "522412N0082312E"},  // as is everything after byte 17
      {"5224.12n00823.12e", "522412N0082312E"},
      {"5224.12s00823.12w", "522412S0082312W"},
      {"9000.00N18000.00W", "900000N1800000W"},
      {"9000.00S18000.00E", "900000S1800000E"},
      {"0000.00N00000.00E", "000000N0000000E"},
      {"5259.99N00859.99E", "525999N0085999E"},
      {"8959.99N17959.99E", "895999N1795999E"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE("position: \"" + r.entry + "\"");
    const ConfigBlock block = EncodeWith([&](ConfigEntries& e) { e.position = r.entry; });
    EXPECT_EQ(Slice(block, at::Position, 15), r.field);
  }
}

TEST(PositionField, RefusesWhatIsNoPlaceOnEarth) {
  const std::string shorter =
      "is shorter than the 17 characters of a position such as 5224.12N00823.12E";
  const std::string digit = "has something other than a digit where the form shows d, m or h";
  const auto fault = [](const std::string& entry, const std::string& message) {
    return PositionFault(entry, message);
  };
  ExpectRefused(
      &ConfigEntries::position,
      {
          {"5224.12N00823.12", fault("5224.12N00823.12", shorter),
           "16 bytes, which sent a NUL byte for the E"},
          {"5224.12N00823.1", fault("5224.12N00823.1", shorter), "15 bytes"},
          {"", fault("", shorter), "empty"},
          {"9100.00N00823.12E", fault("9100.00N00823.12E", "has a latitude beyond 90 degrees"),
           "latitude 91"},
          {"9000.01S00823.12E", fault("9000.01S00823.12E", "has a latitude beyond 90 degrees"),
           "a hundredth of a minute past the pole"},
          {"5224.12N18000.01E", fault("5224.12N18000.01E", "has a longitude beyond 180 degrees"),
           "longitude past 180"},
          {"5224.12N18100.00W", fault("5224.12N18100.00W", "has a longitude beyond 180 degrees"),
           "longitude 181"},
          {"5260.00N00823.12E", fault("5260.00N00823.12E", "has latitude minutes of 60 or more"),
           "latitude minutes 60"},
          {"5224.12N00860.00E", fault("5224.12N00860.00E", "has longitude minutes of 60 or more"),
           "longitude minutes 60"},
          {"5224.12X00823.12E", fault("5224.12X00823.12E", "needs N or S after the latitude"),
           "no hemisphere"},
          {"5224.12N00823.12Q", fault("5224.12N00823.12Q", "needs E or W after the longitude"),
           "no hemisphere"},
          {"5224.1xN00823.12E", fault("5224.1xN00823.12E", digit), "a letter for a digit"},
          {"5224.12N 0823.12E", fault("5224.12N 0823.12E", digit), "a blank for a digit"},
          {"52\xC3\xA4.12N00823.12E", fault("52\xC3\xA4.12N00823.12E", digit),
           "a two-byte character for a digit"},
      });
}

// ---- symbol ----------------------------------------------------------------------

TEST(SymbolField, FirstByteWhenItIsPrintable) {
  for (const std::string symbol : {"-", ">", "/", "a", "ab", "!", "~"}) {
    const ConfigBlock block = EncodeWith([&](ConfigEntries& e) { e.symbol = symbol; });
    EXPECT_EQ(ByteAt(block, at::Symbol), static_cast<unsigned char>(symbol[0])) << symbol;
  }
}

TEST(SymbolField, RefusesWhatNoStationShowsAsASymbol) {
  const auto fault = [](const std::string& entry) {
    return EntryFault("APRS-SYMBOL: \"" + entry +
                      "\" is not one of the printable characters from ! to ~");
  };
  ExpectRefused(&ConfigEntries::symbol,
                {
                    {"",
                     EntryFault("APRS-SYMBOL: needs one symbol character, such as \"-\" "
                                "or \">\""),
                     "empty"},
                    {" ", fault(" "), "a blank, 0x20"},
                    {"\x7F", fault("\x7F"), "DEL, 0x7F"},
                    {"\t", fault("\t"), "a tab"},
                    {"\xC3\xA4", fault("\xC3\xA4"), "the first byte of a two-byte character"},
                });
}

// ---- beacon text -------------------------------------------------------------------

TEST(BeaconTextField, PaddedWithUnderscoresOrCutAfterTheLastWholeCharacter) {
  const std::string a62(62, 'a'), a63(63, 'a'), a61(61, 'a');
  const std::string ae = "\xC3\xA4", euro = "\xE2\x82\xAC", smile = "\xF0\x9F\x98\x80";
  const struct {
    std::string entry;
    std::string field;
    bool setToBlank;
  } rows[] = {
      {"MY TEXT", "MY TEXT" + std::string(57, '_'), false},
      {"", " " + std::string(63, '_'), true},
      {" ", " " + std::string(63, '_'), false},
      {"a_b", "a_b" + std::string(61, '_'), false},
      {std::string(64, 'z'), std::string(64, 'z'), false},
      {std::string(70, 'z'), std::string(64, 'z'), false},
      {a63 + ae + "bcdef", a63 + "_", false},  // "ä" would be cut after its first byte
      {a62 + ae + "bcdef", a62 + ae, false},   // "ä" fills bytes 63 and 64 exactly
      {a62 + euro + "b", a62 + "__", false},   // a three-byte character cut after two
      {a61 + smile, a61 + "___", false},       // a four-byte character cut after three
      {a61 + euro + smile, a61 + euro, false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE("beacon: \"" + r.entry + "\"");
    const ConfigBlock block = EncodeWith([&](ConfigEntries& e) { e.beaconText = r.entry; });
    EXPECT_EQ(Slice(block, at::BeaconText, 64), r.field);
    EXPECT_EQ(block.beaconEntrySetToBlank, r.setToBlank);
  }
}

// ---- threshold, flags, interval ----------------------------------------------------

TEST(ThresholdField, ScaledTo255WithExactHalvesToEven) {
  const struct {
    int position;
    int byte;
  } rows[] = {{0, 0},    {1, 5},    {5, 26},   {10, 51},  {15, 76},
              {25, 128}, {35, 178}, {45, 230}, {49, 250}, {50, 255}};
  for (const auto& r : rows) {
    for (const bool thresh : {false, true}) {
      const ConfigBlock block = EncodeWith([&](ConfigEntries& e) {
        e.upDownPosition = r.position;
        e.threshChecked = thresh;
      });
      EXPECT_EQ(ByteAt(block, at::Threshold), r.byte)
          << "position " << r.position << (thresh ? " with" : " without") << " THRESH.";
    }
  }
}

TEST(ThresholdField, PositionOutsideTheControlsRangeIsACallerFault) {
  EXPECT_THROW(ThresholdByte(-1), std::out_of_range);
  EXPECT_THROW(ThresholdByte(51), std::out_of_range);
}

TEST(FlagsAndIntervalFields, OffSetsBitOneThreshSetsBitZero) {
  const struct {
    IntervalButton button;
    bool thresh;
    int flags;
    int interval;
  } rows[] = {
      {IntervalButton::RadioButton3, false, 2, 0},  {IntervalButton::RadioButton3, true, 3, 0},
      {IntervalButton::RadioButton4, false, 0, 2},  {IntervalButton::RadioButton4, true, 1, 2},
      {IntervalButton::RadioButton5, false, 0, 10}, {IntervalButton::RadioButton6, true, 1, 20},
      {IntervalButton::RadioButton7, false, 0, 30}, {IntervalButton::RadioButton1, true, 1, 60},
  };
  for (const auto& r : rows) {
    const ConfigBlock block = EncodeWith([&](ConfigEntries& e) {
      e.interval = r.button;
      e.threshChecked = r.thresh;
    });
    SCOPED_TRACE("interval " + std::to_string(r.interval) + (r.thresh ? " THRESH." : ""));
    EXPECT_EQ(ByteAt(block, at::Flags), r.flags);
    EXPECT_EQ(ByteAt(block, at::Interval), r.interval);
  }
}

// ---- path ------------------------------------------------------------------------

TEST(PathFields, UpToTwoCallsEachEmptyOrACallWithAnSsidUpTo15) {
  const struct {
    std::string entry;
    std::string first;
    int firstSsid;
    std::string second;
    int secondSsid;
  } rows[] = {
      {"APRS,WIDE2-2", "APRS  ", 0, "WIDE2 ", 2},
      {"APRS", "APRS  ", 0, "      ", 0},
      {"", "      ", 0, "      ", 0},
      {",WIDE2-2", "      ", 0, "WIDE2 ", 2},
      {"APRS,", "APRS  ", 0, "      ", 0},
      {",", "      ", 0, "      ", 0},
      {"WIDE1-1", "WIDE1 ", 1, "      ", 0},
      {"apRS,wide2-2", "APRS  ", 0, "WIDE2 ", 2},  // a digipeater answers WIDE2, not wide2
      {"RELAY1-$F,WIDE2-0", "RELAY1", 15, "WIDE2 ", 0},
      {"APRS,WIDE2-15", "APRS  ", 0, "WIDE2 ", 15},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE("PATH: \"" + r.entry + "\"");
    const ConfigBlock block = EncodeWith([&](ConfigEntries& e) { e.path = r.entry; });
    EXPECT_EQ(Slice(block, at::FirstPathCall, 6), r.first);
    EXPECT_EQ(ByteAt(block, at::FirstPathSsid), r.firstSsid);
    EXPECT_EQ(Slice(block, at::SecondPathCall, 6), r.second);
    EXPECT_EQ(ByteAt(block, at::SecondPathSsid), r.secondSsid);
  }
}

TEST(PathFields, RefusesCallsNoDigipeaterAnswers) {
  const std::string threeCalls =
      "\" has more than the 2 calls the tracker sends, such as APRS,WIDE2-2";
  const std::string notLetter = " has a character other than a letter A-Z or a digit";
  const std::string longer = " is longer than the 6 characters a call sign can have";
  ExpectRefused(
      &ConfigEntries::path,
      {
          {"APRS,WIDE1-1,WI", PathFault("\"APRS,WIDE1-1,WI" + threeCalls),
           "a third call, which failed as the number \"1,\""},
          {"apRS,WIDE,X", PathFault("\"apRS,WIDE,X" + threeCalls),
           "a third call, which went out as the second call WIDE,X"},
          {"APRS,WIDE,WIDE", PathFault("\"APRS,WIDE,WIDE" + threeCalls), "a third call"},
          {"APRS,WIDE2-21", PathFault("the SSID \"21\" is not from 0 to 15"),
           "SSID 21, which went out as 21"},
          {"APRS,WIDE2-16", PathFault("the SSID \"16\" is not from 0 to 15"), "SSID 16"},
          {"WIDE2--1", PathFault("the SSID \"-1\" is not from 0 to 15"), "went out as 255"},
          {"APRS,WIDE2-123", PathFault("the SSID \"123\" is longer than 2 characters"), "3 SSID bytes"},
          {"APRS, WIDE2-2", PathFault("\" WIDE2\"" + notLetter), "a blank after the comma"},
          {"APRS ,WIDE2-2", PathFault("\"APRS \"" + notLetter), "a blank before the comma"},
          {"APRS.,WIDE2-2", PathFault("\"APRS.\"" + notLetter), "punctuation"},
          {",-2", PathFault("needs a call sign before the \"-\", such as WIDE2-2"),
           "an SSID without a call"},
          {"-", PathFault("needs a call sign before the \"-\", such as WIDE2-2"), "only a dash"},
          {"LONGCAL", PathFault("\"LONGCAL\"" + longer), "7 characters"},
          {"APRS,WIDE2AB-2", PathFault("\"WIDE2AB\"" + longer), "7 characters"},
          {"APRS,WIDE1-1-1", PathFault("the SSID \"1-1\" is longer than 2 characters"),
           "a second dash"},
          {"APRS-,WIDE2-2", ConversionFault(""), "a dash and nothing after it"},
          {"APRS,WIDE2-", ConversionFault(""), "a dash and nothing after it"},
          {"APRS,WIDE2-2 ", ConversionFault("2 "), "a trailing blank after the number"},
          {"APRS-Q", ConversionFault("Q"), "no number"},
      });
}

// ---- TX delay ------------------------------------------------------------------------

TEST(TxDelayField, WholeEntryReadCappedAt250) {
  const struct {
    std::string entry;
    int byte;
  } rows[] = {{"50", 50}, {"250", 250}, {"251", 250}, {"999", 250},       {"$FF", 250},
              {"0", 0},   {"-0", 0},    {" 7", 7},    {"2147483647", 250}};
  for (const auto& r : rows) {
    const ConfigBlock block = EncodeWith([&](ConfigEntries& e) { e.txDelay = r.entry; });
    EXPECT_EQ(ByteAt(block, at::TxDelay), r.byte) << "TX-DELAY: \"" << r.entry << "\"";
  }
}

TEST(TxDelayField, RefusesNegativeValuesAndWhatIsNoNumber) {
  ExpectRefused(
      &ConfigEntries::txDelay,
      {
          {"-1", EntryFault("TX-DELAY: \"-1\" is below 0"), "went out as 255, past the cap of 250"},
          {"-300", EntryFault("TX-DELAY: \"-300\" is below 0"), "went out as 212"},
          {"", ConversionFault(""), "empty"},
          {"50 ", ConversionFault("50 "), "a trailing blank"},
          {"5O", ConversionFault("5O"), "a letter O"},
          {"2147483648", ConversionFault("2147483648"), "past the integer range"},
      });
}

}  // namespace
