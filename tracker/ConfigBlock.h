// The tracker's whole station set-up as the 128 bytes that follow ESC 9,
// made from the window's entries in one call.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "ConfigBlockFields.h"
#include "IntegerText.h"

// Where each field starts; the block has no header, length or checksum.
namespace ConfigBlockOffset {
constexpr std::size_t CallSign = 0;
constexpr std::size_t CallSignSsid = 6;
constexpr std::size_t Constant = 7;
constexpr std::size_t Position = 8;
constexpr std::size_t Symbol = 23;
constexpr std::size_t BeaconText = 24;
constexpr std::size_t Threshold = 88;
constexpr std::size_t Flags = 89;
constexpr std::size_t Interval = 90;
constexpr std::size_t FirstPathCall = 91;
constexpr std::size_t FirstPathSsid = 97;
constexpr std::size_t SecondPathCall = 98;
constexpr std::size_t SecondPathSsid = 104;
constexpr std::size_t TxDelay = 105;
constexpr std::size_t Filler = 106;
constexpr std::size_t End = 128;
}  // namespace ConfigBlockOffset

// The window's state the block is made from; texts are the entries' UTF-8 bytes.
struct ConfigEntries {
  std::string callSign;    // Edit1, "CALLSIGN:"
  std::string position;    // Edit2, under "ddmm.hhNdddmm.hhE"
  std::string beaconText;  // Edit3, "BEACON TEXT:"
  std::string symbol;      // Edit4, "APRS-SYMBOL:"
  std::string path;        // Edit5, "PATH:"
  std::string txDelay;     // Edit6, "TX-DELAY:"
  IntervalButton interval = IntervalButton::RadioButton4;
  bool threshChecked = false;  // CheckBox3, "THRESH."
  int upDownPosition = 25;     // UpDown1, 0..50
};

struct ConfigBlock {
  std::array<std::uint8_t, ConfigBlockOffset::End> bytes{};
  // The beacon entry was empty and went out as one blank; Edit3 must now show
  // that blank.
  bool beaconEntrySetToBlank = false;
};

// All 128 bytes, or a throw before any of them exists, so a caller that sends
// only what this returns never leaves a short block on the line.
//
// Fields are made in the order they stand in the block, and the first fault met
// is the one thrown: the call sign before its SSID, then position and symbol,
// then the first path call and its SSID, a third path call, the second path
// call and its SSID, and the TX delay last. A number that cannot be read
// throws EConvertError, any other fault EInvalidEntry.
ConfigBlock EncodeConfigBlock(const ConfigEntries& entries);
