// A tracker port for each test: /dev/ttyUSB0 links to a fresh pseudo-terminal,
// and the lock directory is emptied afterwards.
#pragma once

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
    ASSERT_EQ(0, ::symlink(pty.SlavePath().c_str(), testing_support::kTrackerPath));
    oldMask = ::umask(022);
  }

  void TearDown() override {
    ::umask(oldMask);
    ::unlink(testing_support::kTrackerPath);
    testing_support::ClearLockDir();
  }

  PtyPair pty;
  mode_t oldMask = 022;
};
