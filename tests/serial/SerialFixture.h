// A tracker port for each test: /dev/ttyUSB0 links to a fresh pseudo-terminal,
// and the lock directory is emptied afterwards.
#pragma once

#include <dirent.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "SerialTestSupport.h"
#include "TBlockSerial.h"

class TrackerPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty.Ok());
    ASSERT_EQ(0, ::symlink(pty.SlavePath().c_str(), kTrackerPath));
    oldMask = ::umask(022);
  }

  void TearDown() override {
    ::umask(oldMask);
    ::unlink(kTrackerPath);
    ClearLocks();
  }

  static void ClearLocks() {
    DIR* dir = ::opendir("/var/lock");
    if (dir == nullptr) return;
    while (const dirent* entry = ::readdir(dir)) {
      std::string name = entry->d_name;
      if (name != "." && name != "..") RemoveEntry("/var/lock/" + name);
    }
    ::closedir(dir);
  }

  PtyPair pty;
  mode_t oldMask = 022;
};
