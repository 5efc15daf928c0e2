// The port state the window keeps: the object a pick opens, what it leaves
// behind when it replaces or closes one, and the words a failure is shown in.
#include <cerrno>
#include <functional>
#include <set>
#include <stdexcept>
#include <termios.h>

#include "PortErrorText.h"
#include "PortList.h"
#include "SerialFixture.h"
#include "TPortState.h"

using namespace testing_support;

namespace {

const char kSecondPath[] = "/dev/ttyS2";
const char kSecondLock[] = "/var/lock/LCK..ttyS2";

class PortStateTest : public TrackerPortTest {
 protected:
  void TearDown() override {
    state.Close();
    ::unlink(kSecondPath);
    TrackerPortTest::TearDown();
  }
  TPortState state;
};

TEST_F(PortStateTest, BeforeAnyOpenTheLineIsAnObjectThatSendsNothing) {
  EXPECT_FALSE(state.IsOpen());
  EXPECT_EQ("", state.PortName());
  ASSERT_NE(nullptr, state.Line());
  state.Line()->SendOneByte('x');
  EXPECT_EQ(TBlockSerial::ErrNotConnected, state.Line()->LastErrorCode);
  state.Close();
  EXPECT_FALSE(state.IsOpen());
  EXPECT_EQ("<missing>", ReadFile(kTrackerLock));
}

TEST_F(PortStateTest, OpenLocksTheDeviceSetsTheTrackerLineAndCloseLetsGo) {
  EXPECT_EQ(0, state.Open(kTrackerPath));
  EXPECT_TRUE(state.IsOpen());
  EXPECT_EQ(kTrackerPath, state.PortName());
  EXPECT_EQ(FormatLockContent(::getpid()), ReadFile(kTrackerLock));
  const termios t = SlaveAttributes(pty.SlavePath());
  EXPECT_EQ(B4800, cfgetospeed(&t));
  EXPECT_EQ(static_cast<tcflag_t>(B4800 | CS8 | CREAD | HUPCL | CLOCAL), t.c_cflag);
  EXPECT_EQ(0u, t.c_iflag);
  EXPECT_EQ(0u, t.c_lflag);
  state.Line()->SendOneByte('A');
  EXPECT_EQ("A", pty.Read(1, 2000));

  state.Close();
  EXPECT_FALSE(state.IsOpen());
  EXPECT_EQ("<missing>", ReadFile(kTrackerLock));
  state.Line()->SendOneByte('B');
  EXPECT_EQ("", pty.Read(1, 50));
}

// Our own lock names a live process, us: the same device opens a second
// time only because the first lock went before the second open.
TEST_F(PortStateTest, ASecondOpenReleasesTheFirstObjectBeforeItOpens) {
  ASSERT_EQ(0, state.Open(kTrackerPath));
  EXPECT_EQ(0, state.Open(kTrackerPath));
  EXPECT_TRUE(state.IsOpen());
  EXPECT_EQ(FormatLockContent(::getpid()), ReadFile(kTrackerLock));

  PtyPair second;
  ASSERT_EQ(0, ::symlink(second.SlavePath().c_str(), kSecondPath));
  EXPECT_EQ(0, state.Open(kSecondPath));
  EXPECT_EQ(kSecondPath, state.PortName());
  EXPECT_EQ("<missing>", ReadFile(kTrackerLock));
  EXPECT_EQ(FormatLockContent(::getpid()), ReadFile(kSecondLock));
  state.Line()->SendOneByte('C');
  EXPECT_EQ("C", second.Read(1, 2000));
  EXPECT_EQ("", pty.Read(1, 50));
}

TEST_F(PortStateTest, AFailedOpenClosesTheOldPortOpensNothingAndKeepsItsCause) {
  LiveProcess owner;
  struct Case {
    const char* what;
    std::function<void()> arrange;
    const char* device;
    int code;
  };
  const Case cases[] = {
      {"a live foreign lock",
       [&] { WriteFile(kTrackerLock, FormatLockContent(owner.Pid())); }, kTrackerPath,
       TBlockSerial::ErrPortOwned},
      {"no such entry", [] {}, "/dev/ttyS3", ENOENT},
      {"a link that leads nowhere", [] { ASSERT_EQ(0, ::symlink("/dev/gone", kSecondPath)); },
       kSecondPath, ENOENT},
      // It opens, but takes no line settings: no serial line at all.
      {"a plain file", [] { WriteFile(kSecondPath, ""); }, kSecondPath, ENOTTY},
  };
  for (const Case& c : cases) {
    PtyPair earlier;
    ASSERT_EQ(0, ::symlink(earlier.SlavePath().c_str(), "/dev/ttyS0"));
    ASSERT_EQ(0, state.Open("/dev/ttyS0"));
    c.arrange();
    EXPECT_EQ(c.code, state.Open(c.device)) << c.what;
    EXPECT_FALSE(state.IsOpen()) << c.what;
    EXPECT_EQ(c.device, state.PortName()) << c.what;
    EXPECT_EQ(c.code, state.Line()->LastErrorCode) << c.what;
    EXPECT_EQ("<missing>", ReadFile("/var/lock/LCK..ttyS0")) << c.what;
    EXPECT_EQ("<missing>", ReadFile(kSecondLock)) << c.what;
    state.Line()->SendOneByte('x');
    EXPECT_EQ("", earlier.Read(1, 50)) << c.what;
    ::unlink("/dev/ttyS0");
    ::unlink(kSecondPath);
  }
  EXPECT_EQ(FormatLockContent(owner.Pid()), ReadFile(kTrackerLock)) << "a foreign lock stays";
}

TEST(PortErrorText, NamesTheCauseInPlainWords) {
  struct Case {
    int code;
    const char* words;
  };
  const Case cases[] = {
      {TBlockSerial::ErrPortOwned, "in use by another program"},
      {ENOENT, "no such device"},
      {ENODEV, "no such device"},
      {ENXIO, "no such device"},
      {EACCES, "permission denied"},
      {EPERM, "permission denied"},
      {EIO, "input/output error"},
      {TBlockSerial::ErrNotConnected, "not open"},
      {ENOTTY, "not a serial device"},
      {TBlockSerial::ErrStaleLockStuck, "cannot remove or rewrite its stale lock"},
      {EBUSY, "device or resource busy"},  // any other: the system's words, lower case
  };
  for (const Case& c : cases) EXPECT_EQ(c.words, SerialErrorWords(c.code)) << c.code;
  EXPECT_EQ("/dev/ttyS2: no such device", PortErrorText("/dev/ttyS2", ENOENT));
  EXPECT_EQ("/dev/ttyUSB0: in use by another program",
            PortErrorText("/dev/ttyUSB0", TBlockSerial::ErrPortOwned));
  // The file the user has to remove by hand, by the path the lock really has
  // (not the device's last name: that would be "LCK..3").
  EXPECT_EQ("/dev/pts/3: cannot remove or rewrite /var/lock/LCK..pts/3",
            PortErrorText("/dev/pts/3", TBlockSerial::ErrStaleLockStuck));
}

TEST(PortRows, EachRowOpensItsOwnDevice) {
  const char* const devices[kPortRowCount] = {"/dev/ttyUSB0", "/dev/ttyUSB0", "/dev/ttyS0",
                                              "/dev/ttyS1",   "/dev/ttyS2",   "/dev/ttyS3",
                                              "/dev/ttyS4"};
  for (int row = 0; row < kPortRowCount; ++row) EXPECT_EQ(devices[row], PortRowDevice(row)) << row;
  EXPECT_THROW(PortRowDevice(-1), std::out_of_range);
  EXPECT_THROW(PortRowDevice(kPortRowCount), std::out_of_range);
}

// A FIFO would hold up anything that opened it; the list must come back.
TEST(PortRows, AnyKindOfEntryCountsAndNothingIsOpened) {
  ASSERT_EQ(0, ::mkfifo("/dev/ttyUSB0", 0644));
  ASSERT_EQ(0, ::mkdir("/dev/ttyS1", 0755));
  WriteFile("/dev/ttyS3", "");
  const std::vector<std::string> want{" ", "USB0", "", "COM2", "", "COM4", ""};
  EXPECT_EQ(want, PortListTexts());
  for (const char* path : {"/dev/ttyUSB0", "/dev/ttyS1", "/dev/ttyS3"}) RemoveEntry(path);
}

}  // namespace
