#pragma once
// What the settings tests share: a fresh folder a test, and records to
// compare.

#include <gtest/gtest.h>

#include <grp.h>
#include <unistd.h>

#include <functional>
#include <ostream>
#include <vector>

#include "FileTesting.h"
#include "RootPowers.h"
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

// Runs `body` in a forked child that has become user `uid` (and group
// `uid`, no other groups) with `folder` as its working directory, and
// returns what it returns.
inline std::string AsUserIn(uid_t uid, const std::string& folder,
                            const std::function<std::string()>& body) {
  return testing_support::RunInChild([&] {
    if (::setgroups(0, nullptr) != 0 || ::setgid(uid) != 0 || ::setuid(uid) != 0)
      return "cannot become user " + std::to_string(uid);
    if (::chdir(folder.c_str()) != 0) return "cannot enter " + folder;
    return body();
  });
}

class SettingsFileTest : public ::testing::Test {
 protected:
  testing_support::FreshFolder folder{testing_support::CurrentTestName()};
};
