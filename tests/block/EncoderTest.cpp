// The block as a whole: the stored entries byte for byte, the entries it
// refuses, which fault wins when there are several, and that a refusal leaves
// nothing to send.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "BlockTestSupport.h"
#include "ConfigBlock.h"

namespace {

TEST(ConfigBlockEncoder, StoredLayoutEntriesGiveTheKnownBlock) {
  std::string expected;
  expected += "MYCALL";
  expected += '\x03';
  expected += '\x01';
  expected += "522412N0082312E";
  expected += '-';
  expected += "MY TEXT max. 64 characters" + std::string(38, '_');
  expected += '\x80';  // threshold at position 25
  expected += '\x00';  // flags
  expected += '\x02';  // "  2 min"
  expected += "APRS  ";
  expected += '\x00';
  expected += "WIDE2 ";
  expected += '\x02';
  expected += '\x32';  // TX delay 50
  expected += std::string(22, 'X');
  ASSERT_EQ(expected.size(), 128u);

  const ConfigBlock block = EncodeConfigBlock(StoredLayoutEntries());
  EXPECT_EQ(Slice(block, 0, 128), expected);
  EXPECT_FALSE(block.beaconEntrySetToBlank);
}

struct Refusal {
  const char* what;
  std::function<void(ConfigEntries&)> change;
  std::string message;
};

// Runs the encoder on the stored entries with one change and returns the
// message it refused them with; fails the test when T was not thrown.
template <typename T>
std::string RefusalMessage(const std::function<void(ConfigEntries&)>& change) {
  ConfigEntries e = StoredLayoutEntries();
  change(e);
  try {
    EncodeConfigBlock(e);
  } catch (const T& error) {
    return error.what();
  } catch (const std::exception& other) {
    ADD_FAILURE() << "refused with another error: " << other.what();
    return {};
  }
  ADD_FAILURE() << "encoded";
  return {};
}

TEST(ConfigBlockEncoder, EntriesWithoutASoundFieldAreRefusedByCaption) {
  const std::string callSign = "CALLSIGN: needs a call sign, such as DL1AB-7.";
  const std::string beforeDash = "CALLSIGN: needs a call sign before the \"-\", such as DL1AB-7.";
  const std::string position =
      "Position: needs a position of the form ddmm.hhNdddmm.hhE, such as 5224.12N00823.12E.";
  const std::string symbol = "APRS-SYMBOL: needs one symbol character, such as \"-\" or \">\".";
  const auto longCall = [](const std::string& call) {
    return "PATH: the call \"" + call +
           "\" is too long; each call takes at most 6 letters or digits, such as APRS,WIDE2-2.";
  };
  const Refusal rows[] = {
      {"empty call sign", [](ConfigEntries& e) { e.callSign = ""; }, callSign},
      {"only an SSID", [](ConfigEntries& e) { e.callSign = "-7"; }, beforeDash},
      {"only a dash", [](ConfigEntries& e) { e.callSign = "-"; }, beforeDash},
      {"15-byte position", [](ConfigEntries& e) { e.position = "5224.12N00823.1"; }, position},
      {"empty position", [](ConfigEntries& e) { e.position = ""; }, position},
      {"empty symbol", [](ConfigEntries& e) { e.symbol = ""; }, symbol},
      {"long first call", [](ConfigEntries& e) { e.path = "LONGCALL"; }, longCall("LONGCALL")},
      {"long second call", [](ConfigEntries& e) { e.path = "APRS,WIDE2AB-2"; },
       longCall("WIDE2AB")},
      {"third element", [](ConfigEntries& e) { e.path = "APRS,WIDE,WIDE"; },
       longCall("WIDE,WIDE")},
  };
  for (const Refusal& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(RefusalMessage<EInvalidEntry>(r.change), r.message);
  }
}

// With several faults the first field in block order decides; the expected
// message names the fault that must win.
TEST(ConfigBlockEncoder, FirstFaultInBlockOrderIsTheOneThrown) {
  const std::string position =
      "Position: needs a position of the form ddmm.hhNdddmm.hhE, such as 5224.12N00823.12E.";
  const Refusal conversions[] = {
      {"call-sign SSID before position and path",
       [](ConfigEntries& e) {
         e.callSign = "DL1AB-X";
         e.position = "";
         e.path = "APRS-Q,WIDE2-Z";
         e.txDelay = "";
       },
       Invalid("X")},
      {"first path SSID before the second",
       [](ConfigEntries& e) {
         e.path = "APRS-Q,WIDE2-Z";
         e.txDelay = "";
       },
       Invalid("Q")},
      {"first path SSID before a long second call",
       [](ConfigEntries& e) { e.path = "APRS-Q,LONGCALL"; }, Invalid("Q")},
      {"second path SSID before TX delay",
       [](ConfigEntries& e) {
         e.path = "APRS,WIDE2-Z";
         e.txDelay = "";
       },
       Invalid("Z")},
      {"call-sign SSID before an empty symbol",
       [](ConfigEntries& e) {
         e.callSign = "DL1AB-X";
         e.symbol = "";
       },
       Invalid("X")},
  };
  for (const Refusal& r : conversions) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(RefusalMessage<EConvertError>(r.change), r.message);
  }
  const Refusal refusals[] = {
      {"call before its SSID",
       [](ConfigEntries& e) {
         e.callSign = "-X";
         e.txDelay = "";
       },
       "CALLSIGN: needs a call sign before the \"-\", such as DL1AB-7."},
      {"position before path SSIDs",
       [](ConfigEntries& e) {
         e.position = "5224";
         e.path = "APRS-Q";
       },
       position},
      {"long first call before its SSID", [](ConfigEntries& e) { e.path = "LONGCALL-Q"; },
       "PATH: the call \"LONGCALL\" is too long; each call takes at most 6 letters or digits, "
       "such as APRS,WIDE2-2."},
  };
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(RefusalMessage<EInvalidEntry>(r.change), r.message);
  }
}

// A caller that sends what the encoder returns: a fault in the very last
// number field still leaves nothing on the line, not 105 bytes of a block.
TEST(ConfigBlockEncoder, FailingConversionLeavesNoPartialBlock) {
  std::vector<std::uint8_t> line;
  const auto send = [&line](const ConfigEntries& e) {
    const ConfigBlock block = EncodeConfigBlock(e);
    line.insert(line.end(), block.bytes.begin(), block.bytes.end());
  };
  ConfigEntries e = StoredLayoutEntries();
  e.beaconText = "";
  e.txDelay = "";
  EXPECT_THROW(send(e), EConvertError);
  EXPECT_TRUE(line.empty());

  e.txDelay = "50";
  send(e);
  EXPECT_EQ(line.size(), 128u);
}

}  // namespace
