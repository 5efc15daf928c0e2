#pragma once
// What the settings tests share: a fresh folder a test, and records to
// compare.

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "FileTesting.h"
#include "TSettings.h"

inline std::vector<std::string> Values(const TSettings& settings) {
  std::vector<std::string> values;
  for (std::size_t line = 0; line < TSettings::kLines; ++line) values.push_back(settings.Line(line));
  return values;
}

inline TSettings Record(const std::vector<std::string>& values) {
  TSettings settings;
  for (std::size_t line = 0; line < values.size(); ++line) settings.Line(line) = values[line];
  return settings;
}

// The window's values before any file is read.
inline TSettings StoredLayoutValues() {
  return Record({"MYCALL-3", "5224.12N00823.12E", "MY TEXT max. 64 characters", "-", "APRS,WIDE2-2",
                 "50", "4", "0"});
}

class SettingsFileTest : public ::testing::Test {
 protected:
  testing_support::FreshFolder folder{testing_support::CurrentTestName()};
};
