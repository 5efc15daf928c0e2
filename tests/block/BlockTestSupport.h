// Shared helpers of the block tests: the window's stored entries and byte views.
#pragma once

#include <cstddef>
#include <string>

#include "ConfigBlock.h"

// The entries as the stored window layout starts them.
inline ConfigEntries StoredLayoutEntries() {
  ConfigEntries e;
  e.callSign = "MYCALL-3";
  e.position = "5224.12N00823.12E";
  e.beaconText = "MY TEXT max. 64 characters";
  e.symbol = "-";
  e.path = "APRS,WIDE2-2";
  e.txDelay = "50";
  e.interval = IntervalButton::RadioButton4;
  e.threshChecked = false;
  e.upDownPosition = 25;
  return e;
}

// count bytes of the block from offset, as a string so failures print readably.
inline std::string Slice(const ConfigBlock& block, std::size_t offset, std::size_t count) {
  return std::string(block.bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                     block.bytes.begin() + static_cast<std::ptrdiff_t>(offset + count));
}

inline int ByteAt(const ConfigBlock& block, std::size_t offset) { return block.bytes[offset]; }

inline std::string Invalid(const std::string& text) {
  return "\"" + text + "\" is an invalid integer";
}

// What the encoder made of the entries: "" for a whole block, else the kind of
// its error and the error's message, so one expected text checks both.
inline std::string FaultOf(const ConfigEntries& entries) {
  try {
    EncodeConfigBlock(entries);
    return "";
  } catch (const EConvertError& e) {
    return std::string("EConvertError: ") + e.what();
  } catch (const EInvalidEntry& e) {
    return std::string("EInvalidEntry: ") + e.what();
  }
}

inline std::string ConversionFault(const std::string& text) {
  return "EConvertError: " + Invalid(text);
}

inline std::string EntryFault(const std::string& message) { return "EInvalidEntry: " + message; }
