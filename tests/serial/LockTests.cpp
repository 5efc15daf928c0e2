// Lock files: taking one, refusing a foreign one, breaking a stale one, and
// what happens when several processes reach for one device at once.
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <sched.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/mount.h>

#include "SerialFixture.h"

using namespace testing_support;

namespace {

std::string Code(const TBlockSerial& port) { return std::to_string(port.LastErrorCode); }

// In a forked child: become kNobody for good, as AsNobody does.
bool BecomeNobody() {
  return ::setgroups(0, nullptr) == 0 && ::setgid(kNogroup) == 0 && ::setuid(kNobody) == 0;
}

class LockPathProbe : public TBlockSerial {
 public:
  using TBlockSerial::LockFilePath;
};

}  // namespace

TEST(LockFileName, DropsEverythingUpToTheFirstDevDirectory) {
  const std::pair<const char*, const char*> cases[] = {
      {"/dev/ttyUSB0", "/var/lock/LCK..ttyUSB0"},
      {"ttyS1", "/var/lock/LCK..ttyS1"},
      {"/x/dev/ttyS2", "/var/lock/LCK..ttyS2"},
      {"/dev/dev/ttyS4", "/var/lock/LCK..dev/ttyS4"},
      {"/dev/pts/3", "/var/lock/LCK..pts/3"},
  };
  for (const auto& [device, lock] : cases) {
    LockPathProbe port;
    port.DevicePath = device;
    EXPECT_EQ(lock, port.LockFilePath()) << device;
  }
}

TEST(LockFileContent, IsThePidInTenColumnsAndALineFeed) {
  EXPECT_EQ("       987\n", FormatLockContent(987));
  EXPECT_EQ("1234567890\n", FormatLockContent(1234567890));
}

TEST_F(TrackerPortTest, OpenTakesTheLockReadableByAllAndCloseRemovesIt) {
  ::umask(077);
  TBlockSerial port;
  port.OpenDevice(kTrackerPath);
  EXPECT_EQ(0, port.LastErrorCode);
  EXPECT_EQ("OK", port.LastErrorText);
  EXPECT_TRUE(port.DeviceOpen);
  EXPECT_GE(port.Handle, 0);
  EXPECT_EQ(kTrackerPath, port.DevicePath);

  struct stat st = LStat(kTrackerLock);
  EXPECT_TRUE(S_ISREG(st.st_mode));
  EXPECT_EQ(0666u, st.st_mode & 07777);
  EXPECT_EQ(11, st.st_size);
  EXPECT_EQ(FormatLockContent(::getpid()), ReadFile(kTrackerLock));

  port.CloseDevice();
  EXPECT_EQ(0u, LStat(kTrackerLock).st_ino);
}

// A lock naming this process is told held from left behind by its flock:
// without that, the second object would take it as left behind and both
// would write to the line.
TEST_F(TrackerPortTest, TwoObjectsOfOneProcessNeverBothHoldTheDevice) {
  TBlockSerial first, second;
  first.OpenDevice(kTrackerPath);
  ASSERT_EQ(0, first.LastErrorCode);
  const ino_t inode = LStat(kTrackerLock).st_ino;
  second.OpenDevice(kTrackerPath);
  EXPECT_EQ(9991, second.LastErrorCode);
  EXPECT_FALSE(second.DeviceOpen);
  EXPECT_EQ(inode, LStat(kTrackerLock).st_ino);
  EXPECT_EQ(FormatLockContent(::getpid()), ReadFile(kTrackerLock));

  first.CloseDevice();
  second.OpenDevice(kTrackerPath);
  EXPECT_EQ(0, second.LastErrorCode);
  first.OpenDevice(kTrackerPath);
  EXPECT_EQ(9991, first.LastErrorCode);
}

// Whatever stands at the lock path and does not name a process known to be
// gone keeps the device owned, and is left exactly as it was.
struct ForeignLock {
  const char* name;
  std::function<void(const std::string&)> make;
};

void PrintTo(const ForeignLock& lock, std::ostream* os) { *os << lock.name; }

class ForeignLockTest : public TrackerPortTest,
                        public ::testing::WithParamInterface<ForeignLock> {};

TEST_P(ForeignLockTest, OwnsTheDeviceAndStaysUntouched) {
  const std::string path = kTrackerLock;
  GetParam().make(path);
  const struct stat before = LStat(path);
  const std::string content = ReadFile(path);
  char target[256] = {};
  ::readlink(path.c_str(), target, sizeof target - 1);

  TBlockSerial port;
  port.OpenDevice(kTrackerPath);
  EXPECT_EQ(9991, port.LastErrorCode);
  EXPECT_EQ("Port owned by other process", port.LastErrorText);
  EXPECT_FALSE(port.DeviceOpen);
  EXPECT_EQ(-1, port.Handle);
  port.CloseDevice();

  const struct stat after = LStat(path);
  EXPECT_EQ(before.st_ino, after.st_ino);
  EXPECT_EQ(before.st_mode, after.st_mode);
  if (S_ISREG(after.st_mode)) {
    EXPECT_EQ(content, ReadFile(path));
  }
  char now[256] = {};
  ::readlink(path.c_str(), now, sizeof now - 1);
  EXPECT_STREQ(target, now);
}

// The dead-pid cases catch a parser that reads a number off the front of
// junk, or one that wraps an overlong number into some unused id.
INSTANTIATE_TEST_SUITE_P(
    Lock, ForeignLockTest,
    ::testing::Values(
        ForeignLock{"LiveProcess",
                    [](const std::string& p) { WriteFile(p, FormatLockContent(::getppid())); }},
        ForeignLock{"Empty", [](const std::string& p) { WriteFile(p, ""); }},
        ForeignLock{"Garbage", [](const std::string& p) { WriteFile(p, "hello\n"); }},
        ForeignLock{"Zero", [](const std::string& p) { WriteFile(p, FormatLockContent(0)); }},
        ForeignLock{"MinusOne", [](const std::string& p) { WriteFile(p, "        -1\n"); }},
        ForeignLock{"DeadPidThenJunk",
                    [](const std::string& p) {
                      WriteFile(p, std::to_string(DeadPid()) + "x\n");
                    }},
        ForeignLock{"Overlong", [](const std::string& p) { WriteFile(p, "99999999999\n"); }},
        ForeignLock{"LinkToStaleLock",
                    [](const std::string& p) {
                      WriteFile("/var/lock/elsewhere",
                                         FormatLockContent(DeadPid()));
                      ASSERT_EQ(0, ::symlink("/var/lock/elsewhere", p.c_str()));
                    }},
        ForeignLock{"DanglingLink",
                    [](const std::string& p) { ASSERT_EQ(0, ::symlink("/nowhere", p.c_str())); }},
        ForeignLock{"Fifo", [](const std::string& p) { ASSERT_EQ(0, ::mkfifo(p.c_str(), 0644)); }},
        ForeignLock{"Directory", [](const std::string& p) { ASSERT_EQ(0, ::mkdir(p.c_str(), 0755)); }}),
    [](const ::testing::TestParamInfo<ForeignLock>& info) { return info.param.name; });

struct StaleLock {
  const char* name;
  std::function<std::string(pid_t)> format;
};

void PrintTo(const StaleLock& lock, std::ostream* os) { *os << lock.name; }

// A FIFO that holds a dead pid and has a writer: reading it would consume the
// text and could pass it for a stale lock. It must not even be read.
TEST_F(TrackerPortTest, FifoHoldingAStalePidIsNeverRead) {
  ASSERT_EQ(0, ::mkfifo(kTrackerLock, 0644));
  const int fifo = ::open(kTrackerLock, O_RDWR | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(fifo, 0);
  const std::string stale = FormatLockContent(DeadPid());
  ASSERT_EQ(static_cast<ssize_t>(stale.size()), ::write(fifo, stale.data(), stale.size()));

  TBlockSerial port;
  port.OpenDevice(kTrackerPath);
  EXPECT_EQ(9991, port.LastErrorCode);
  int unread = 0;
  ASSERT_EQ(0, ::ioctl(fifo, FIONREAD, &unread));
  EXPECT_EQ(static_cast<int>(stale.size()), unread);
  EXPECT_TRUE(S_ISFIFO(LStat(kTrackerLock).st_mode));
  ::close(fifo);
}

class StaleLockTest : public TrackerPortTest, public ::testing::WithParamInterface<StaleLock> {};

TEST_P(StaleLockTest, IsReplacedAndTheOpenSucceeds) {
  WriteFile(kTrackerLock, GetParam().format(DeadPid()));
  TBlockSerial port;
  port.OpenDevice(kTrackerPath);
  EXPECT_EQ(0, port.LastErrorCode);
  EXPECT_TRUE(port.DeviceOpen);
  EXPECT_EQ(FormatLockContent(::getpid()), ReadFile(kTrackerLock));
  EXPECT_EQ(0666u, LStat(kTrackerLock).st_mode & 07777);
  port.CloseDevice();
}

INSTANTIATE_TEST_SUITE_P(
    Lock, StaleLockTest,
    ::testing::Values(StaleLock{"Padded", [](pid_t pid) { return FormatLockContent(pid); }},
                      StaleLock{"Unpadded", [](pid_t pid) { return std::to_string(pid) + "\n"; }},
                      StaleLock{"NoLineFeed", [](pid_t pid) { return std::to_string(pid); }},
                      // Our own id, and none of our objects holds it: an
                      // earlier run with this id, or a lock we could not remove.
                      StaleLock{"ThisProcessNotHeld",
                                [](pid_t) { return FormatLockContent(::getpid()); }}),
    [](const ::testing::TestParamInfo<StaleLock>& info) { return info.param.name; });

// kill() answers EPERM for a live process of another user; that is no proof
// the owner is gone. The lock belongs to the unprivileged opener, so a wrong
// break would succeed and not be hidden by the sticky lock directory.
TEST_F(TrackerPortTest, LiveProcessOfAnotherUserStillOwns) {
  SKIP_WITHOUT_ROOT_POWERS();
  const pid_t owner = ::getpid();
  WriteFile(kTrackerLock, FormatLockContent(owner));
  ASSERT_EQ(0, ::chown(kTrackerLock, kNobody, kNogroup));
  const ino_t inode = LStat(kTrackerLock).st_ino;

  std::string result = AsNobody([owner] {
    if (::kill(owner, 0) == 0 || errno != EPERM) return std::string("kill did not say EPERM");
    TBlockSerial port;
    port.OpenDevice(kTrackerPath);
    return Code(port);
  });
  EXPECT_EQ("9991", result);
  EXPECT_EQ(inode, LStat(kTrackerLock).st_ino);
  EXPECT_EQ(FormatLockContent(owner), ReadFile(kTrackerLock));
}

TEST_F(TrackerPortTest, DeviceThatCannotBeOpenedLeavesNoLock) {
  ASSERT_EQ(0, ::mkdir("/dev/ttyS8", 0755));
  const std::pair<const char*, int> cases[] = {{"/dev/ttyS9", ENOENT}, {"/dev/ttyS8", EISDIR}};
  for (const auto& [device, error] : cases) {
    TBlockSerial port;
    port.OpenDevice(device);
    EXPECT_EQ(error, port.LastErrorCode) << device;
    EXPECT_EQ(std::strerror(error), port.LastErrorText) << device;
    EXPECT_FALSE(port.DeviceOpen);
    EXPECT_EQ(-1, port.Handle);
    EXPECT_EQ(0u, LStat(std::string("/var/lock/LCK..") + (device + 5)).st_ino) << device;
  }
  ::rmdir("/dev/ttyS8");
}

// /var/lock is a link into /run on this system; hiding all of /var in a
// private mount namespace of the child makes the directory itself missing.
TEST_F(TrackerPortTest, MissingLockDirectoryIsCreatedFirst) {
  std::string result = RunInChild([] {
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("korva-var", "/var", "tmpfs", 0, "mode=0755") != 0)
      return std::string("cannot hide /var: ") + std::strerror(errno);
    if (LStat("/var/lock").st_ino != 0) return std::string("/var/lock still there");
    ::umask(022);
    TBlockSerial port;
    port.OpenDevice(kTrackerPath);
    const struct stat dir = LStat("/var/lock");
    if (port.LastErrorCode != 0) return "open recorded " + Code(port);
    if (!S_ISDIR(dir.st_mode) || (dir.st_mode & 0777) != 0755) return std::string("no 0755 dir");
    if (ReadFile(kTrackerLock) != FormatLockContent(::getpid())) return std::string("no lock");
    port.CloseDevice();
    return std::string("ok");
  });
  EXPECT_EQ("ok", result);
}

// Several processes released at the same instant; each keeps what it got
// until all have answered (its object is never destroyed: the child ends
// with it open). Repeated, since a lost race shows only sometimes. The lock
// names the one winner afterwards.
struct Race {
  const char* name;
  std::function<void()> arrange;  // what stands at the lock path first
  bool asNobody;                  // the racers are another user than the lock's owner
};

void PrintTo(const Race& race, std::ostream* os) { *os << race.name; }

class RaceTest : public TrackerPortTest, public ::testing::WithParamInterface<Race> {};

TEST_P(RaceTest, ExactlyOneProcessGetsTheDevice) {
  const Race& race = GetParam();
  if (race.asNobody) {
    SKIP_WITHOUT_ROOT_POWERS();
    ASSERT_EQ(0, ::chmod(pty.SlavePath().c_str(), 0666));
  }
  for (int round = 0; round < 20; ++round) {
    race.arrange();
    std::vector<std::string> codes = RunRacing(8, [&race] {
      if (race.asNobody && !BecomeNobody()) return std::string("cannot drop privileges");
      auto* port = new TBlockSerial;
      port->OpenDevice(kTrackerPath);
      return port->LastErrorCode == 0 ? std::to_string(::getpid()) : "code " + Code(*port);
    });
    ASSERT_EQ(8u, codes.size());
    const auto winner = std::find_if(codes.begin(), codes.end(),
                                      [](const std::string& c) { return c.rfind("code", 0) != 0; });
    ASSERT_NE(codes.end(), winner) << "round " << round << ": nobody got the device";
    EXPECT_EQ(7, std::count(codes.begin(), codes.end(), "code 9991")) << "round " << round;
    EXPECT_EQ(FormatLockContent(std::stoi(*winner)), ReadFile(kTrackerLock)) << "round " << round;
    ::unlink(kTrackerLock);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lock, RaceTest,
    ::testing::Values(
        Race{"ForOneFreeDevice", [] {}, false},
        Race{"BreakingOneStaleLock",
             [] { WriteFile(kTrackerLock, FormatLockContent(DeadPid())); }, false},
        // The sticky lock directory keeps the racers from removing it: the
        // winner rewrites it in place.
        Race{"TakingOverOneStaleLockOfAnotherUser",
             [] { LeaveStaleLockOfAnotherUser(0666); }, true}),
    [](const ::testing::TestParamInfo<Race>& info) { return info.param.name; });
