// The open line: attributes, bytes, modem lines, discards and closing, with a
// pseudo-terminal in the tracker's place. A pty has no baud clock, no carrier
// and no modem lines, and always keeps CS8 without parity; where that hides
// what a real port would do, the test says so and checks what can be seen.
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>

#include "SerialFixture.h"
#include "SerialLineAttrs.h"

using namespace testing_support;

namespace {

bool FdIsOpen(int fd) { return ::fcntl(fd, F_GETFD) != -1; }

// A pty's driver forces CS8 and CREAD and clears PARENB whatever it is
// given, so those bits prove nothing read back from one.
tcflag_t KeptControlBits(const termios& t) { return t.c_cflag & ~(CSIZE | PARENB | CREAD); }

}  // namespace

class OpenLineTest : public TrackerPortTest {
 protected:
  void SetUp() override {
    TrackerPortTest::SetUp();
    port.OpenDevice(kTrackerPath);
    ASSERT_TRUE(port.DeviceOpen);
  }
  void TearDown() override {
    port.CloseDevice();
    TrackerPortTest::TearDown();
  }
  TBlockSerial port;
};

TEST_F(OpenLineTest, TrackerSettingsReplaceWhateverTheDeviceHad) {
  termios dirty = SlaveAttributes(pty.SlavePath());
  dirty.c_cflag |= CSTOPB | CRTSCTS;
  dirty.c_iflag |= IXON | IXOFF | IXANY;
  ASSERT_EQ(0, ::tcsetattr(port.Handle, TCSANOW, &dirty));

  port.ConfigureLine(4800, 8, 'N', 0, false, false);
  EXPECT_EQ(0, port.LastErrorCode);
  const termios t = SlaveAttributes(pty.SlavePath());
  EXPECT_EQ(B4800, cfgetispeed(&t));
  EXPECT_EQ(B4800, cfgetospeed(&t));
  // The control bits the pty keeps as given: no CSTOPB, no CRTSCTS, CLOCAL,
  // HUPCL. (Size, parity and CREAD: LineAttributesTest.)
  EXPECT_EQ(static_cast<tcflag_t>(B4800 | HUPCL | CLOCAL), KeptControlBits(t));
  EXPECT_EQ(0u, t.c_iflag);  // raw, and no IXON/IXOFF/IXANY
  EXPECT_EQ(0u, t.c_oflag);
  EXPECT_EQ(0u, t.c_lflag);
  for (int i = 0; i < NCCS; ++i) {
    const int want = i == VMIN ? 1 : 0;  // VTIME 0 among the rest
    EXPECT_EQ(want, t.c_cc[i]) << "c_cc[" << i << "]";
  }
}

TEST_F(OpenLineTest, EachConfigureStartsFromNothing) {
  port.ConfigureLine(9600, 8, 'N', 2, true, true);
  termios t = SlaveAttributes(pty.SlavePath());
  EXPECT_EQ(B9600, cfgetospeed(&t));
  EXPECT_TRUE(t.c_cflag & CSTOPB);
  EXPECT_TRUE(t.c_cflag & CRTSCTS);
  EXPECT_EQ(static_cast<tcflag_t>(IXON | IXOFF | IXANY), t.c_iflag);

  port.ConfigureLine(4800, 8, 'N', 0, false, false);
  t = SlaveAttributes(pty.SlavePath());
  EXPECT_EQ(static_cast<tcflag_t>(B4800 | HUPCL | CLOCAL), KeptControlBits(t));
  EXPECT_EQ(0u, t.c_iflag);
}

TEST_F(OpenLineTest, UnknownRateIsRecordedAndChangesNothing) {
  port.ConfigureLine(4800, 8, 'N', 0, false, false);
  port.ConfigureLine(4801, 8, 'N', 0, false, false);
  EXPECT_EQ(EINVAL, port.LastErrorCode);
  const termios t = SlaveAttributes(pty.SlavePath());
  EXPECT_EQ(B4800, cfgetospeed(&t));
}

// Character size and parity cannot be read back from a pty (it forces CS8 and
// no parity), so the computed attributes are checked directly.
struct AttrCase {
  LineSettings settings;
  speed_t speed;
  tcflag_t cflag;  // without the speed bits
  tcflag_t iflag;
};

class LineAttributesTest : public ::testing::TestWithParam<AttrCase> {};

TEST_P(LineAttributesTest, FollowTheSettings) {
  const AttrCase& c = GetParam();
  termios t{};
  ASSERT_TRUE(BuildLineAttributes(c.settings, &t));
  EXPECT_EQ(c.speed, cfgetispeed(&t));
  EXPECT_EQ(c.speed, cfgetospeed(&t));
  EXPECT_EQ(c.cflag | c.speed, t.c_cflag);
  EXPECT_EQ(c.iflag, t.c_iflag);
  EXPECT_EQ(0u, t.c_oflag);
  EXPECT_EQ(0u, t.c_lflag);
}

constexpr tcflag_t kBase = CREAD | CLOCAL | HUPCL;
constexpr tcflag_t kSoft = IXON | IXOFF | IXANY;

INSTANTIATE_TEST_SUITE_P(
    Line, LineAttributesTest,
    ::testing::Values(AttrCase{{4800, 8, 'N', 0, false, false}, B4800, kBase | CS8, 0},
                      AttrCase{{9600, 7, 'e', 1, false, false}, B9600, kBase | CS7 | PARENB | CSTOPB, 0},
                      AttrCase{{19200, 5, 'O', 2, true, true}, B19200,
                               kBase | CS5 | PARENB | PARODD | CSTOPB | CRTSCTS, kSoft},
                      AttrCase{{1200, 6, 'o', 0, true, false}, B1200, kBase | CS6 | PARENB | PARODD, kSoft},
                      AttrCase{{115200, 8, 'E', 0, false, true}, B115200, kBase | CS8 | PARENB | CRTSCTS, 0}));

TEST(LineAttributes, RefuseARateThatIsNoTerminalSpeed) {
  termios t{};
  t.c_cflag = 12345;
  EXPECT_FALSE(BuildLineAttributes({4801, 8, 'N', 0, false, false}, &t));
  EXPECT_EQ(12345u, t.c_cflag);
}

// Raw mode: every byte value arrives unchanged and in order, the line feed,
// XON/XOFF and the interrupt character included.
TEST_F(OpenLineTest, BytesArriveInOrderUnchanged) {
  port.ConfigureLine(4800, 8, 'N', 0, false, false);
  std::string sent;
  for (int b = 0; b < 256; ++b) {
    port.SendOneByte(static_cast<std::uint8_t>(b));
    EXPECT_EQ(0, port.LastErrorCode) << b;
    sent += static_cast<char>(b);
  }
  EXPECT_EQ(68, port.WriteBytes(sent.data(), 68));
  EXPECT_EQ(sent + sent.substr(0, 68), pty.Read(sent.size() + 68, 1000));
}

// A pty has no modem lines: TIOCMGET fails, so the word falls back to 0 with
// only the bit just written, and the failure is what is recorded.
TEST_F(OpenLineTest, ModemLinesRecordTheFailedRead) {
  EXPECT_EQ(0, port.LastErrorCode);  // the open ends with a good discard
  const std::pair<std::function<void()>, std::uint32_t> steps[] = {
      {[this] { port.SetDtrLine(true); }, TIOCM_DTR},
      {[this] { port.SetRtsLine(true); }, TIOCM_RTS},
      {[this] { port.SetDtrLine(false); }, 0},
  };
  for (const auto& [step, word] : steps) {
    step();
    EXPECT_TRUE(port.LastErrorCode == ENOTTY || port.LastErrorCode == EINVAL) << port.LastErrorCode;
    EXPECT_EQ(word, port.ModemLines);
  }
}

TEST_F(OpenLineTest, DiscardDropsUnreadInput) {
  port.ConfigureLine(4800, 8, 'N', 0, false, false);
  pty.Write("abc");
  pollfd pfd{port.Handle, POLLIN, 0};
  ASSERT_EQ(1, ::poll(&pfd, 1, 1000));
  port.DiscardBuffers();
  EXPECT_EQ(0, port.LastErrorCode);
  int waiting = -1;
  ASSERT_EQ(0, ::ioctl(port.Handle, FIONREAD, &waiting));
  EXPECT_EQ(0, waiting);
}

// The unplugged case: the far end is gone. The write must fail, not block.
TEST_F(OpenLineTest, WriteAfterTheOtherEndHasGoneRecordsEio) {
  port.ConfigureLine(4800, 8, 'N', 0, false, false);
  pty.CloseMaster();
  port.SendOneByte('x');
  EXPECT_EQ(EIO, port.LastErrorCode);
  EXPECT_EQ(-1, port.WriteBytes("yz", 2));
  EXPECT_EQ(EIO, port.LastErrorCode);
}

// In a session of its own the child has no controlling terminal; an open
// without O_NOCTTY would make the line one. The descriptor must block.
TEST_F(TrackerPortTest, OpenTakesNoControllingTerminalAndBlocks) {
  std::string result = RunInChild([] {
    if (::setsid() < 0) return std::string("setsid failed");
    TBlockSerial port;
    port.OpenDevice(kTrackerPath);
    const int flags = ::fcntl(port.Handle, F_GETFL);
    if (flags < 0 || (flags & O_ACCMODE) != O_RDWR) return std::string("not read-write");
    if (flags & O_NONBLOCK) return std::string("still non-blocking");
    int tty = ::open("/dev/tty", O_RDWR | O_NOCTTY);
    if (tty >= 0) return std::string("the line became our controlling terminal");
    port.CloseDevice();
    return std::string("ok");
  });
  EXPECT_EQ("ok", result);
}

TEST_F(TrackerPortTest, CloseReleasesEverythingAndASecondCloseTouchesNothing) {
  TBlockSerial port;
  port.OpenDevice(kTrackerPath);
  const int fd = port.Handle;
  port.CloseDevice();
  EXPECT_EQ(0, port.LastErrorCode);
  EXPECT_EQ(-1, port.Handle);
  EXPECT_FALSE(port.DeviceOpen);
  EXPECT_FALSE(FdIsOpen(fd));
  EXPECT_EQ(0u, LStat(kTrackerLock).st_ino);

  // Another lock and another descriptor in the old one's place must survive.
  WriteFile(kTrackerLock, FormatLockContent(::getppid()));
  const int other = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  port.CloseDevice();
  EXPECT_EQ(0, port.LastErrorCode);
  EXPECT_EQ("OK", port.LastErrorText);
  EXPECT_TRUE(FdIsOpen(other));
  EXPECT_EQ(FormatLockContent(::getppid()), ReadFile(kTrackerLock));
  ::close(other);
}

// Someone cleared our lock by hand and another program took the device.
TEST_F(TrackerPortTest, CloseLeavesALockThatIsNoLongerItsOwn) {
  TBlockSerial port;
  port.OpenDevice(kTrackerPath);
  ASSERT_EQ(0, ::unlink(kTrackerLock));
  WriteFile(kTrackerLock, FormatLockContent(::getppid()));
  port.CloseDevice();
  EXPECT_EQ(FormatLockContent(::getppid()), ReadFile(kTrackerLock));
}

// An object that goes away open lets go of everything, as a close does; and
// one whose open failed takes nobody's lock with it.
TEST_F(TrackerPortTest, DestructionClosesTheDeviceAndReleasesTheLock) {
  auto* port = new TBlockSerial;
  port->OpenDevice(kTrackerPath);
  ASSERT_TRUE(port->DeviceOpen);
  const int fd = port->Handle;
  delete port;
  EXPECT_FALSE(FdIsOpen(fd));
  EXPECT_EQ(0u, LStat(kTrackerLock).st_ino);

  LiveProcess owner;
  WriteFile(kTrackerLock, FormatLockContent(owner.Pid()));
  auto* refused = new TBlockSerial;
  refused->OpenDevice(kTrackerPath);
  ASSERT_EQ(TBlockSerial::ErrPortOwned, refused->LastErrorCode);
  delete refused;
  EXPECT_EQ(FormatLockContent(owner.Pid()), ReadFile(kTrackerLock));
}

// A new object, never opened: nothing is sent, device calls fail on -1.
TEST(ClosedLine, OperationsRecordAndTouchNothing) {
  TBlockSerial port;
  EXPECT_EQ("", port.DevicePath);
  EXPECT_EQ(-1, port.Handle);
  EXPECT_FALSE(port.DeviceOpen);
  EXPECT_EQ(0u, port.ModemLines);
  EXPECT_EQ(0, port.LastErrorCode);
  EXPECT_EQ("OK", port.LastErrorText);

  const std::pair<std::function<void()>, int> steps[] = {
      {[&] { port.SendOneByte(27); }, 9994},
      {[&] { EXPECT_EQ(0, port.WriteBytes("ab", 2)); }, 9994},
      {[&] { port.ConfigureLine(4800, 8, 'N', 0, false, false); }, EBADF},
      {[&] { port.SetDtrLine(true); }, EBADF},
      {[&] { port.DiscardBuffers(); }, EBADF},
      {[&] { port.CloseDevice(); }, 0},
  };
  for (const auto& [step, code] : steps) {
    step();
    EXPECT_EQ(code, port.LastErrorCode);
    EXPECT_EQ(TBlockSerial::GetErrorDesc(code), port.LastErrorText);
  }
  EXPECT_EQ(static_cast<std::uint32_t>(TIOCM_DTR), port.ModemLines);
}

TEST(ErrorText, NamesOurCodesAndTheSystemsOwn) {
  EXPECT_EQ("OK", TBlockSerial::GetErrorDesc(0));
  EXPECT_EQ("Port owned by other process", TBlockSerial::GetErrorDesc(9991));
  EXPECT_EQ("Instance not yet connected", TBlockSerial::GetErrorDesc(9994));
  EXPECT_EQ(std::strerror(EIO), TBlockSerial::GetErrorDesc(EIO));
}
