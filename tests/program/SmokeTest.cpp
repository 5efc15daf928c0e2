// KORVA from outside: started as a user starts it, read from the screen,
// driven with real clicks and keys, closed as the window manager closes it.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "BlackBox.h"
#include "RootPowers.h"

using namespace blackbox;

namespace {

constexpr TMillis kPatience(10000);
constexpr char kTrackerDevice[] = "/dev/ttyUSB0";
constexpr int kTrackerRow = 1;  // "USB0" in the port box
constexpr char kTrackerLock[] = "/var/lock/LCK..ttyUSB0";

TKorvaOptions WithTrackerPort() {
  TKorvaOptions options;
  options.devices = {kTrackerDevice};
  return options;
}

std::string ReadWhole(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

bool WaitForFile(const std::string& path, TMillis timeout) {
  const int64_t deadline = MonotonicNs() + std::chrono::nanoseconds(timeout).count();
  while (!std::filesystem::exists(path)) {
    if (MonotonicNs() > deadline) return false;
    ::usleep(1000);
  }
  return true;
}

// The process id right-aligned in 10 characters, and a line feed.
std::string LockText(pid_t pid) {
  std::string digits = std::to_string(pid);
  return std::string(10 - digits.size(), ' ') + digits + "\n";
}

void ExpectExitZero(TKorvaProcess& korva) {
  const std::optional<int> status = korva.WaitForExit(kPatience);
  ASSERT_TRUE(status.has_value()) << "still running after the close request";
  EXPECT_TRUE(WIFEXITED(*status));
  EXPECT_EQ(WEXITSTATUS(*status), 0);
}

TEST(Program, ShowsItsWindowCentredWithGreyLampsOnThePanels) {
  TKorvaProcess korva(WithTrackerPort());
  korva.Start();
  ASSERT_TRUE(korva.WaitForWindow()) << korva.Stderr();
  const TPoint origin = korva.Origin();
  EXPECT_EQ(origin.x, (1280 - 387) / 2);
  EXPECT_EQ(origin.y, (1024 - 368) / 2);
  for (TLamp lamp : {TLamp::WriteConf, TLamp::GpsSimul, TLamp::Tone, TLamp::Tx, TLamp::Analog})
    EXPECT_EQ(korva.Colour(LampCentre(lamp)), kGrey) << static_cast<int>(lamp);
  EXPECT_EQ(korva.Colour(LampCentre(TLamp::Beacon)), kGreen);
  EXPECT_EQ(korva.Colour(kCommandPanelPoint), kPanel);
  korva.SaveScreenshot("program-start");
  korva.SendCloseRequest();
  ExpectExitZero(korva);
}

TEST(Program, TakesClicksAndAPickAndEndsWithZeroOnTheCloseRequest) {
  TKorvaProcess korva(WithTrackerPort());
  korva.Start();
  ASSERT_TRUE(korva.WaitForWindow()) << korva.Stderr();
  // "OFF" paints the beacon lamp grey, another interval green again.
  korva.ClickControl("RadioButton3");
  EXPECT_TRUE(korva.WaitForColour(LampCentre(TLamp::Beacon), kGrey, kPatience));
  korva.ClickControl("RadioButton5");
  EXPECT_TRUE(korva.WaitForColour(LampCentre(TLamp::Beacon), kGreen, kPatience));
  EXPECT_TRUE(korva.PickPort(1));
  korva.ClickControl("Button6");
  // The window still answers after the pick and "TX".
  korva.ClickControl("RadioButton3");
  EXPECT_TRUE(korva.WaitForColour(LampCentre(TLamp::Beacon), kGrey, kPatience));
  korva.SendCloseRequest();
  ExpectExitZero(korva);
}

// Every row picked with no device behind it, and a character typed into the
// box: the program answers on its status line and in its dialog, and the
// toolkit has nothing to complain of on the error stream.
TEST(Program, PicksOfEveryRowAndAnEditOfTheBoxLeaveTheErrorStreamEmpty) {
  TKorvaProcess korva;
  korva.Start();
  ASSERT_TRUE(korva.WaitForWindow()) << korva.Stderr();
  for (int row = 0; row < 7; ++row) EXPECT_TRUE(korva.PickPort(row)) << "row " << row;
  korva.ClickControl("ComboBox1");
  korva.Type("x");
  const std::optional<TXWindow> dialog = korva.FindWindow("ZAZU - VED", kPatience);
  ASSERT_TRUE(dialog.has_value()) << "an edit of the box reaches the error dialog";
  korva.PressKeyIn(*dialog, "Return");
  korva.SendCloseRequest();
  ExpectExitZero(korva);
  EXPECT_EQ(korva.Stderr(), "");
}

// As uid 65534 in a folder of its own (as a user without any privilege
// starts it from a shell): it loads the korva.ini there, takes and gives back
// the lock of the port it opens, writes korva.ini again when the window
// closes, and ends with 0.
TEST(Program, RunsAsAnUnprivilegedUserInItsOwnFolder) {
  SKIP_WITHOUT_ROOT_POWERS();
  TKorvaOptions options = WithTrackerPort();
  options.unprivileged = true;
  // Values other than the window's own, "THRESH." on (the analog lamp shows
  // it from the start), lines ended with CR LF, which only a new writing
  // turns into LF.
  options.settings =
      "NOCALL-7\r\n5224.12N00823.12E\r\nAS NOBODY\r\n-\r\nAPRS,WIDE2-2\r\n50\r\n3\r\n1\r\n";
  options.dpi = 0;
  TKorvaProcess korva(options);
  ASSERT_EQ(0, ::chmod(korva.Port(kTrackerDevice).SlavePath().c_str(), 0666));
  korva.Start();
  ASSERT_TRUE(korva.WaitForWindow()) << korva.Stderr();
  EXPECT_TRUE(korva.WaitForColour(LampCentre(TLamp::Analog), kGreen, kPatience))
      << "THRESH. not loaded";
  ASSERT_TRUE(korva.PickPort(kTrackerRow));
  ASSERT_TRUE(WaitForFile(kTrackerLock, kPatience)) << "no lock for the opened port";
  EXPECT_EQ(ReadWhole(kTrackerLock), LockText(korva.Pid()));
  struct stat lock {};
  EXPECT_EQ(0, ::stat(kTrackerLock, &lock));
  EXPECT_EQ(lock.st_uid, 65534u) << "the lock was not made by the user korva runs as";
  korva.SendCloseRequest();
  ExpectExitZero(korva);
  EXPECT_FALSE(std::filesystem::exists(kTrackerLock)) << "the lock outlived the run";
  EXPECT_EQ(ReadWhole(korva.WorkDir() + "/korva.ini"),
            "NOCALL-7\n5224.12N00823.12E\nAS NOBODY\n-\nAPRS,WIDE2-2\n50\n3\n1\n");
  EXPECT_EQ(korva.Stderr(), "");
}

// What the first run stored on its close, the second shows from its start.
TEST(Program, StartsAgainInTheSameFolderWithWhatItStored) {
  TKorvaProcess korva;
  korva.Start();
  ASSERT_TRUE(korva.WaitForWindow()) << korva.Stderr();
  korva.ClickControl("CheckBox3");  // "THRESH.": the analog lamp turns green
  ASSERT_TRUE(korva.WaitForColour(LampCentre(TLamp::Analog), kGreen, kPatience));
  korva.SendCloseRequest();
  ExpectExitZero(korva);
  korva.Start();
  ASSERT_TRUE(korva.WaitForWindow()) << "second run: " << korva.Stderr();
  EXPECT_TRUE(korva.WaitForColour(LampCentre(TLamp::Analog), kGreen, kPatience))
      << "THRESH. not kept";
  korva.SendCloseRequest();
  ExpectExitZero(korva);
}

}  // namespace
