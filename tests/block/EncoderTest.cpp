// The block as a whole: the stored entries byte for byte, and which fault wins
// when there are several.
#include <gtest/gtest.h>

#include <functional>
#include <string>

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

struct Case {
  const char* what;
  std::function<void(ConfigEntries&)> change;
  std::string fault;  // FaultOf's text
};

// With several faults the first field in block order decides; each case spoils
// two or more entries, and the expected fault names the one that must win.
TEST(ConfigBlockEncoder, FirstFaultInBlockOrderIsTheOneThrown) {
  const Case cases[] = {
      {"call before its SSID",
       [](ConfigEntries& e) {
         e.callSign = "DL1ABCD-X";
         e.txDelay = "";
       },
       EntryFault("CALLSIGN: \"DL1ABCD\" is longer than the 6 characters a call sign can have")},
      {"call-sign SSID before position, symbol, path and TX delay",
       [](ConfigEntries& e) {
         e.callSign = "DL1AB-X";
         e.position = "";
         e.symbol = " ";
         e.path = "APRS-Q,WIDE2-Z";
         e.txDelay = "";
       },
       ConversionFault("X")},
      {"an SSID out of range before the position",
       [](ConfigEntries& e) {
         e.callSign = "DL1AB-16";
         e.position = "5224";
       },
       EntryFault("CALLSIGN: the SSID \"16\" is not from 0 to 15")},
      {"position before symbol and path",
       [](ConfigEntries& e) {
         e.position = "5224";
         e.symbol = " ";
         e.path = "APRS-Q";
       },
       EntryFault("ddmm.hhNdddmm.hhE: \"5224\" is shorter than the 17 characters of a position "
                  "such as 5224.12N00823.12E")},
      {"symbol before path",
       [](ConfigEntries& e) {
         e.symbol = " ";
         e.path = "APRS-Q";
       },
       EntryFault("APRS-SYMBOL: \" \" is not one of the printable characters from ! to ~")},
      {"first path SSID before the second",
       [](ConfigEntries& e) {
         e.path = "APRS-Q,WIDE2-Z";
         e.txDelay = "";
       },
       ConversionFault("Q")},
      {"first path SSID before a third call", [](ConfigEntries& e) { e.path = "APRS-Q,A,B"; },
       ConversionFault("Q")},
      {"a third call before the second call's SSID",
       [](ConfigEntries& e) { e.path = "APRS,WIDE-Z,X"; },
       EntryFault("PATH: \"APRS,WIDE-Z,X\" has more than the 2 calls the tracker sends, such as "
                  "APRS,WIDE2-2")},
      {"first path call before a long second call",
       [](ConfigEntries& e) { e.path = "AP RS,LONGCALL"; },
       EntryFault("PATH: \"AP RS\" has a character other than a letter A-Z or a digit")},
      {"second path SSID before TX delay",
       [](ConfigEntries& e) {
         e.path = "APRS,WIDE2-Z";
         e.txDelay = "-1";
       },
       ConversionFault("Z")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ConfigEntries e = StoredLayoutEntries();
    c.change(e);
    EXPECT_EQ(FaultOf(e), c.fault);
  }
}

}  // namespace
