// Each field of the block made from its entry, one table per field, read back
// from the block at the field's offset so a misplaced field fails too.
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

// Empty expectedError: the entry must encode.
struct CallRow {
  std::string entry;
  std::string call;
  int ssid;
  std::string expectedError;
};

void CheckCallSignRows(const std::vector<CallRow>& rows) {
  for (const CallRow& r : rows) {
    SCOPED_TRACE("CALLSIGN: \"" + r.entry + "\"");
    const auto encode = [&] { return EncodeWith([&](ConfigEntries& e) { e.callSign = r.entry; }); };
    if (!r.expectedError.empty()) {
      try {
        encode();
        ADD_FAILURE() << "encoded";
      } catch (const EConvertError& e) {
        EXPECT_EQ(std::string(e.what()), r.expectedError);
      }
      continue;
    }
    const ConfigBlock block = encode();
    EXPECT_EQ(Slice(block, at::CallSign, 6), r.call);
    EXPECT_EQ(ByteAt(block, at::CallSignSsid), r.ssid);
  }
}

TEST(CallSignField, CallIsUpperCasedBlankPaddedAndSixthByteALetterOrBlank) {
  CheckCallSignRows({
      {"dl1ab-7", "DL1AB ", 7, ""},
      {"DL1ABC-12", "DL1ABC", 12, ""},
      {"DL1AB", "DL1AB ", 0, ""},
      {"DL1ABCD", "DL1ABC", 0, ""},
      {"AB1C-7", "AB1C  ", 7, ""},  // the "-" is not part of the call
      {"TEST12", "TEST1 ", 0, ""},
      {"K1AB", "K1AB  ", 0, ""},
      {"k", "K     ", 0, ""},
      {"dl1abc-1", "DL1ABC", 1, ""},  // a lower-case sixth letter stays, upper-cased
      {"DL1ABCDE-9", "DL1ABC", 9, ""},
      {"d\xC3\xA4" "b", "D\xC3\xA4" "B  ", 0, ""},  // bytes other than a-z pass unchanged
  });
}

TEST(CallSignField, SsidIsReadFromAtMostTwoBytesAfterTheFirstDash) {
  CheckCallSignRows({
      {"DL1AB-123", "DL1AB ", 12, ""},
      {"DL1AB--1", "DL1AB ", 255, ""},
      {"DL1AB-$F", "DL1AB ", 15, ""},
      {"DL1AB- 5", "DL1AB ", 5, ""},
      {"DL1AB-X", "", 0, Invalid("X")},
      {"DL1AB-5 ", "", 0, Invalid("5 ")},
      {"DL1AB-", "", 0, Invalid("")},
  });
}

TEST(PositionField, SkipsTheTwoPointsAndTakesSeventeenBytesAtMost) {
  const struct {
    std::string entry;
    std::string field;
  } rows[] = {
      {"5224.12N00823.12E", "522412N0082312E"},
      {"5224,12N00823,12E", "522412N0082312E"},
      {"5224.12N00823.12EXTRA", "522412N0082312E"},
      {"5224.12N00823.12", std::string("522412N0082312") + '\0'},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE("position: \"" + r.entry + "\"");
    const ConfigBlock block = EncodeWith([&](ConfigEntries& e) { e.position = r.entry; });
    EXPECT_EQ(Slice(block, at::Position, 15), r.field);
  }
}

TEST(SymbolField, FirstByteOfTheEntryUnchanged) {
  for (const std::string symbol : {"-", ">", "/", "a", "ab"}) {
    const ConfigBlock block = EncodeWith([&](ConfigEntries& e) { e.symbol = symbol; });
    EXPECT_EQ(ByteAt(block, at::Symbol), static_cast<unsigned char>(symbol[0])) << symbol;
  }
}

TEST(BeaconTextField, PaddedWithUnderscoresOrCutAfterByte64) {
  const std::string sixtyThree(63, 'a');
  const std::string seventy = sixtyThree + "\xC3\xA4" + "bcdef";  // "ä" straddles byte 64
  ASSERT_EQ(seventy.size(), 70u);
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
      {seventy, sixtyThree + "\xC3", false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE("beacon: \"" + r.entry + "\"");
    const ConfigBlock block = EncodeWith([&](ConfigEntries& e) { e.beaconText = r.entry; });
    EXPECT_EQ(Slice(block, at::BeaconText, 64), r.field);
    EXPECT_EQ(block.beaconEntrySetToBlank, r.setToBlank);
  }
}

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
    EXPECT_EQ(IntervalByte(r.button), r.interval);
  }
}

TEST(PathFields, SplitAtFirstCommaEachCallKeepsItsCase) {
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
      {"apRS,WIDE,X", "apRS  ", 0, "WIDE,X", 0},
      {"WIDE1-1", "WIDE1 ", 1, "      ", 0},
      {"RELAY1-$F,wide2--1", "RELAY1", 15, "wide2 ", 255},
      {"APRS,WIDE2-21", "APRS  ", 0, "WIDE2 ", 21},
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

TEST(PathFields, SsidTextsThatAreNoNumberFailQuotingTheirTwoBytes) {
  const struct {
    std::string entry;
    std::string message;
  } rows[] = {
      {"APRS,WIDE1-1,WI", Invalid("1,")},
      {"APRS-,WIDE2-2", Invalid("")},
      {"APRS,WIDE2-", Invalid("")},
      {"APRS,WIDE2-2 ", Invalid("2 ")},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE("PATH: \"" + r.entry + "\"");
    try {
      EncodeWith([&](ConfigEntries& e) { e.path = r.entry; });
      ADD_FAILURE() << "encoded";
    } catch (const EConvertError& e) {
      EXPECT_EQ(std::string(e.what()), r.message);
    }
  }
}

TEST(TxDelayField, WholeEntryReadCappedAt250BySignedComparison) {
  const struct {
    std::string entry;
    int byte;
  } rows[] = {{"50", 50},   {"250", 250}, {"251", 250},  {"999", 250},         {"$FF", 250},
              {"-1", 255},  {"0", 0},     {" 7", 7},     {"2147483647", 250},  {"-300", 212}};
  for (const auto& r : rows) {
    const ConfigBlock block = EncodeWith([&](ConfigEntries& e) { e.txDelay = r.entry; });
    EXPECT_EQ(ByteAt(block, at::TxDelay), r.byte) << "TX-DELAY: \"" << r.entry << "\"";
  }
}

TEST(TxDelayField, EntryThatIsNoNumberFailsQuotingTheWholeEntry) {
  for (const std::string entry : {"", "50 ", "5O", "2147483648"}) {
    try {
      EncodeWith([&](ConfigEntries& e) { e.txDelay = entry; });
      ADD_FAILURE() << "encoded \"" << entry << "\"";
    } catch (const EConvertError& e) {
      EXPECT_EQ(std::string(e.what()), Invalid(entry));
    }
  }
}

}  // namespace
