// Locks another user left in the sticky lock directory, met by an unprivileged
// opener that cannot remove them: a stale one it may write is taken over in
// place, one it may not write is named, a live one stays the other's.
#include <functional>

#include "PortErrorText.h"
#include "SerialFixture.h"

using namespace testing_support;

namespace {

class OtherUsersLockTest : public TrackerPortTest {
 protected:
  void SetUp() override {
    SKIP_WITHOUT_ROOT_POWERS();
    TrackerPortTest::SetUp();
    ASSERT_EQ(0, ::chmod(pty.SlavePath().c_str(), 0666));  // kNobody's device too
  }
};

std::string Owned(const char* what) {
  return ReadFile(kTrackerLock) == FormatLockContent(::getpid()) ? what : "not ours";
}

TEST_F(OtherUsersLockTest, OneOpenPerOutcome) {
  LiveProcess otherUsersProgram;  // kill() on it from kNobody answers EPERM
  struct Case {
    const char* what;
    std::function<void()> arrange;
    int code;
    bool takenOver;  // else the device stays closed and the file exactly as it was
  };
  const Case cases[] = {
      {"stale and writable for all: taken over in place",
       [] { LeaveStaleLockOfAnotherUser(0666); }, 0, true},
      {"stale, writable for its owner only: named, left alone",
       [] { LeaveStaleLockOfAnotherUser(0644); }, TBlockSerial::ErrStaleLockStuck, false},
      {"its program still runs: in use",
       [&] {
         LeaveStaleLockOfAnotherUser(0666);
         WriteFile(kTrackerLock, FormatLockContent(otherUsersProgram.Pid()), 0666);
       },
       TBlockSerial::ErrPortOwned, false},
  };
  for (const Case& c : cases) {
    c.arrange();
    const struct stat before = LStat(kTrackerLock);
    const std::string content = ReadFile(kTrackerLock);
    const std::string seen = AsNobody([&content] {
      TBlockSerial port;
      port.OpenDevice(kTrackerPath);
      const std::string lock = ReadFile(kTrackerLock);
      return std::to_string(port.LastErrorCode) + (port.DeviceOpen ? " open" : " closed") +
             (lock == FormatLockContent(::getpid()) ? ", names the opener"
              : lock == content                      ? ", as it was"
                                                     : ", changed: " + lock);
    });
    const std::string want = std::to_string(c.code) +
                             (c.takenOver ? " open, names the opener" : " closed, as it was");
    EXPECT_EQ(want, seen) << c.what;

    const struct stat after = LStat(kTrackerLock);
    EXPECT_EQ(before.st_ino, after.st_ino) << c.what;
    EXPECT_EQ(kOtherUser, after.st_uid) << c.what;
    EXPECT_EQ(before.st_mode, after.st_mode) << c.what;
    ::unlink(kTrackerLock);
  }
}

// After a take-over the lock cannot be removed at close: it stays, naming us.
// The same process must still get the device again (a second pick of the same
// row), and a second object of ours must not get it while the first holds it.
TEST_F(OtherUsersLockTest, ATakenOverLockStaysOursToOpenAgain) {
  LeaveStaleLockOfAnotherUser(0666);
  const std::string steps = AsNobody([] {
    std::string seen;
    TBlockSerial first, second;
    first.OpenDevice(kTrackerPath);
    seen += "first " + std::to_string(first.LastErrorCode) + Owned(" ours") + "; ";
    second.OpenDevice(kTrackerPath);
    seen += "second " + std::to_string(second.LastErrorCode) + Owned(" ours") + "; ";
    first.CloseDevice();
    seen += "closed" + Owned(" ours") + "; ";
    second.OpenDevice(kTrackerPath);
    seen += "again " + std::to_string(second.LastErrorCode) + Owned(" ours") + "; ";
    second.CloseDevice();
    {
      TBlockSerial third;
      third.OpenDevice(kTrackerPath);
      seen += "third " + std::to_string(third.LastErrorCode) + "; ";
    }  // destroyed while open: it lets go as a close does
    TBlockSerial fourth;
    fourth.OpenDevice(kTrackerPath);
    return seen + "fourth " + std::to_string(fourth.LastErrorCode);
  });
  EXPECT_EQ("first 0 ours; second 9991 ours; closed ours; again 0 ours; third 0; fourth 0", steps);
  EXPECT_EQ(kOtherUser, LStat(kTrackerLock).st_uid);
}

}  // namespace
