// A pick of the real program when the device or its lock is not as it
// should be: what the status line says, what the lock directory holds
// afterwards, and whether the next command reaches the device or meets the
// guard.

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <iterator>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "BlackBox.h"
#include "RootPowers.h"
#include "StatusLineText.h"

using namespace blackbox;

namespace {

constexpr TMillis kPatience(10000);
constexpr char kTracker[] = "/dev/ttyUSB0";
constexpr char kTrackerLock[] = "/var/lock/LCK..ttyUSB0";
constexpr uid_t kOtherUser = 4321;  // neither root nor the unprivileged korva
const std::string kTxCommand{27, 3};

std::string ReadWhole(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return "<missing>";
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// A lock file's text as the convention has it: the id in 10 columns, a line feed.
std::string LockText(pid_t pid) {
  char text[16];
  std::snprintf(text, sizeof text, "%10d\n", static_cast<int>(pid));
  return text;
}

pid_t EndedProcess() {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  ::waitpid(pid, nullptr, 0);
  return pid;
}

struct stat LStat(const std::string& path) {
  struct stat entry {};
  if (::lstat(path.c_str(), &entry) != 0) entry = {};
  return entry;
}

// What an ended program of another user leaves in the sticky lock directory;
// the unprivileged korva cannot remove it.
void LeaveStaleLockOfAnotherUser(mode_t mode) {
  std::ofstream(kTrackerLock) << LockText(EndedProcess());
  ASSERT_EQ(0, ::chown(kTrackerLock, kOtherUser, kOtherUser));
  ASSERT_EQ(0, ::chmod(kTrackerLock, mode));
}

struct TPickCase {
  const char* name;
  bool unprivileged;  // korva runs as uid 65534, and the tracker is its device too
  std::function<void()> arrange;
  int row;
  const char* status;  // what the status line reads after the pick
  bool opens;          // else the next command meets the guard
  // Checks the lock directory after the pick, given the lock's text before.
  std::function<void(TKorvaProcess&, const std::string&)> lockAfterwards;
};

void PrintTo(const TPickCase& pick, std::ostream* os) { *os << pick.name; }

class Pick : public ::testing::TestWithParam<TPickCase> {};

TEST_P(Pick, TheStatusLineTheLockAndTheNextCommandAgree) {
  const TPickCase& pick = GetParam();
  if (pick.unprivileged) {
    SKIP_WITHOUT_ROOT_POWERS();
  }
  TKorvaOptions options;
  options.unprivileged = pick.unprivileged;
  if (pick.unprivileged) options.devices = {kTracker};
  TKorvaProcess korva(options);
  if (pick.unprivileged) {
    ASSERT_EQ(0, ::chmod(korva.Port(kTracker).SlavePath().c_str(), 0666));
  }
  pick.arrange();
  const std::string lockBefore = ReadWhole(kTrackerLock);
  korva.Start();
  ASSERT_TRUE(korva.WaitForWindow()) << korva.Stderr();

  ASSERT_TRUE(korva.PickPort(pick.row));
  EXPECT_TRUE(WaitForStatusLine(korva, pick.status, kPatience))
      << "the status line does not read \"" << pick.status << "\" (distance "
      << StatusLineDistance(korva, pick.status) << "); see "
      << korva.SaveScreenshot(std::string("pick-") + pick.name);
  pick.lockAfterwards(korva, lockBefore);

  korva.ClickControl("Button6");  // TX
  if (pick.opens) {
    EXPECT_TRUE(korva.Port(kTracker).WaitForBytes(kTxCommand.size(), kPatience));
    EXPECT_EQ(korva.Port(kTracker).Text(), kTxCommand);
    EXPECT_FALSE(korva.FindWindow("ERROR", TMillis(300)).has_value());
  } else {
    const std::optional<TXWindow> box = korva.FindWindow("ERROR", kPatience);
    ASSERT_TRUE(box.has_value()) << "the guard let TX through";
    EXPECT_EQ(korva.Colour(LampCentre(TLamp::Tx)), kGrey);
    korva.PressKeyIn(*box, "Return");
  }
  korva.SendCloseRequest();
  const std::optional<int> status = korva.WaitForExit(kPatience);
  ASSERT_TRUE(status.has_value());
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
}

INSTANTIATE_TEST_SUITE_P(
    Port, Pick,
    ::testing::Values(
        // It opens, but it is no serial line: counted as a failed open.
        TPickCase{"PlainFileAsCom1", false,
                  [] { std::ofstream("/dev/ttyS0"); }, 2, "/dev/ttyS0: not a serial device",
                  false,
                  [](TKorvaProcess&, const std::string&) {
                    EXPECT_EQ(LStat("/var/lock/LCK..ttyS0").st_ino, 0u) << "a lock was left";
                    EXPECT_EQ(ReadWhole("/dev/ttyS0"), "");
                  }},
        // Not removable (sticky directory, another user's file) but writable
        // for all: taken over in place.
        TPickCase{"StaleLockOfAnotherUser", true, [] { LeaveStaleLockOfAnotherUser(0666); }, 1,
                  "/dev/ttyUSB0", true,
                  [](TKorvaProcess& korva, const std::string&) {
                    EXPECT_EQ(ReadWhole(kTrackerLock), LockText(korva.Pid()));
                    EXPECT_EQ(LStat(kTrackerLock).st_uid, kOtherUser);
                  }},
        TPickCase{"StaleLockNeitherRemovableNorWritable", true,
                  [] { LeaveStaleLockOfAnotherUser(0644); }, 1,
                  "/dev/ttyUSB0: cannot remove or rewrite /var/lock/LCK..ttyUSB0", false,
                  [](TKorvaProcess&, const std::string& before) {
                    EXPECT_EQ(ReadWhole(kTrackerLock), before);
                    EXPECT_EQ(LStat(kTrackerLock).st_mode & 07777, 0644u);
                  }}),
    [](const ::testing::TestParamInfo<TPickCase>& info) { return info.param.name; });

// A lock taken over from another user cannot be removed when the port
// closes. Picking the tracker's device again (row 0 after row 1: a new pick
// that opens the same device) still opens it, and so does a later run.
TEST(TakenOverLock, OpensAgainInTheSameRunAndTheNext) {
  SKIP_WITHOUT_ROOT_POWERS();
  TKorvaOptions options;
  options.unprivileged = true;
  options.devices = {kTracker};
  TKorvaProcess korva(options);
  TRecordingPty& tracker = korva.Port(kTracker);
  ASSERT_EQ(0, ::chmod(tracker.SlavePath().c_str(), 0666));
  LeaveStaleLockOfAnotherUser(0666);
  std::string sent;
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    korva.Start();
    ASSERT_TRUE(korva.WaitForWindow()) << korva.Stderr();
    for (int row : {1, 0}) {
      ASSERT_TRUE(korva.PickPort(row));
      korva.ClickControl("Button6");
      sent += kTxCommand;
      EXPECT_TRUE(tracker.WaitForBytes(sent.size(), kPatience)) << "row " << row;
      EXPECT_FALSE(korva.FindWindow("ERROR", TMillis(300)).has_value()) << "row " << row;
      EXPECT_EQ(ReadWhole(kTrackerLock), LockText(korva.Pid())) << "row " << row;
    }
    korva.SendCloseRequest();
    ASSERT_TRUE(korva.WaitForExit(kPatience).has_value());
  }
  EXPECT_EQ(tracker.Text(), sent);
  EXPECT_EQ(LStat(kTrackerLock).st_uid, kOtherUser);
}

}  // namespace
