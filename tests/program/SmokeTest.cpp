// KORVA from outside: started as a user starts it, read from the screen,
// driven with real clicks and keys, closed as the window manager closes it.

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>

#include "BlackBox.h"

using namespace blackbox;

namespace {

constexpr TMillis kPatience(10000);

TKorvaOptions WithTrackerPort() {
  TKorvaOptions options;
  options.devices = {"/dev/ttyUSB0"};
  return options;
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
  EXPECT_GE(korva.FirstPaintNs(), korva.ExecNs());
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

TEST(Program, RunsAsAnUnprivilegedUserInItsOwnFolder) {
  TKorvaOptions options;
  options.unprivileged = true;
  options.settings = "MYCALL-3\n";
  options.dpi = 0;
  TKorvaProcess korva(options);
  struct stat settings {};
  ASSERT_EQ(0, ::stat((korva.WorkDir() + "/korva.ini").c_str(), &settings));
  EXPECT_EQ(settings.st_uid, 65534u);
  korva.Start();
  ASSERT_TRUE(korva.WaitForWindow()) << korva.Stderr();
  std::ifstream status("/proc/" + std::to_string(korva.Pid()) + "/status");
  std::string line;
  while (std::getline(status, line) && line.rfind("Uid:", 0) != 0) {}
  EXPECT_EQ(line.substr(0, line.find('\t', 5)), "Uid:\t65534");
  korva.SendCloseRequest();
  ExpectExitZero(korva);
}

TEST(Program, StartsAgainInTheSameFolderAfterItHasEnded) {
  TKorvaProcess korva;
  for (int run = 0; run < 2; ++run) {
    korva.Start();
    ASSERT_TRUE(korva.WaitForWindow()) << "run " << run << ": " << korva.Stderr();
    korva.SendCloseRequest();
    ExpectExitZero(korva);
  }
}

}  // namespace
