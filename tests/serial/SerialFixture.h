// A tracker port for each test: /dev/ttyUSB0 links to a fresh pseudo-terminal,
// and the lock directory is emptied afterwards.
#pragma once

#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "RootPowers.h"
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

// A user who is neither root nor the unprivileged opener kNobody.
constexpr uid_t kOtherUser = 4321;

// What an ended program of another user leaves in the sticky lock directory:
// its lock, naming a process that is gone, which kNobody cannot remove.
inline void LeaveStaleLockOfAnotherUser(mode_t mode) {
  using namespace testing_support;
  WriteFile(kTrackerLock, FormatLockContent(DeadPid()), mode);
  ASSERT_EQ(0, ::chown(kTrackerLock, kOtherUser, kOtherUser));
  struct stat dir {};
  ASSERT_EQ(0, ::stat("/var/lock", &dir));
  ASSERT_EQ(01777u, dir.st_mode & 07777) << "the lock directory is not the sticky one";
}
