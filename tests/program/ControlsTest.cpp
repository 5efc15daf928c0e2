// Two controls of the real program under a user's hand: a held arrow of the
// threshold control while another window takes the pointer, and the port
// box, picked again after its adapter came back and passed with Tab.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "CommandTesting.h"

using namespace blackbox;

namespace {

// The times the program's threads have been switched out, voluntarily or
// not: a program that sleeps in its event loop adds nothing until it wakes.
int64_t ContextSwitches(pid_t pid) {
  int64_t switches = 0;
  std::error_code gone;
  const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
  for (const auto& task : std::filesystem::directory_iterator(tasks, gone)) {
    std::ifstream status(task.path() / "status");
    for (std::string line; std::getline(status, line);)
      if (line.rfind("voluntary_ctxt_switches:", 0) == 0 ||
          line.rfind("nonvoluntary_ctxt_switches:", 0) == 0)
        switches += std::stoll(line.substr(line.find(':') + 1));
  }
  return switches;
}

bool Gone(TKorvaProcess& korva, const std::string& title) {
  return WaitFor([&] { return !korva.FindWindow(title, TMillis(0)).has_value(); }, kPatience);
}

// ---- the threshold's arrows ---------------------------------------------

// The user holds the upper arrow and presses Return on "Write Conf.", which
// has the focus; with no port picked the guard's box opens and takes the
// pointer's grab, and the mouse button comes up while it is open. Once the
// box is closed the program must rest: the voltage stays as it is and
// nothing wakes the program. A repeat that went on would step every 20 ms
// up to 5 V and on. The main window keeps the keyboard all along (the
// Return that closes the box goes to the box through the grab), so only the
// grab can have ended the hold.
TEST(ThresholdArrow, HeldWhileTheGuardsBoxTakesThePointerStopsForGood) {
  TKorvaProcess korva;
  korva.Start();
  ASSERT_TRUE(korva.WaitForWindow()) << korva.Stderr();
  const TRect voltage = ControlRect("Label9");
  const std::vector<uint32_t> atStart = korva.Pixels(voltage);
  // Edit1 has the focus at start; "Write Conf." is three stops on. A
  // focused button does not blink, as an entry's cursor does.
  korva.PressKey("Tab Tab Tab");
  korva.PressButton(ControlRect("UpDown1.Up").Centre());
  ASSERT_TRUE(WaitFor([&] { return korva.Pixels(voltage) != atStart; }, kPatience))
      << "the press made no step";
  korva.PressKey("Return");
  ASSERT_TRUE(korva.FindWindow("ERROR", kPatience).has_value()) << "no guard's box";
  korva.ReleaseButton();
  korva.PressKey("Return");
  ASSERT_TRUE(Gone(korva, "ERROR")) << "the box did not close";

  // Long enough for a repeat that went on to show: the first repeat comes
  // 400 ms after a press, the later ones faster.
  const std::vector<uint32_t> closed = korva.Pixels(voltage);
  const int64_t switches = ContextSwitches(korva.Pid());
  std::this_thread::sleep_for(std::chrono::milliseconds(2000));
  const int64_t woken = ContextSwitches(korva.Pid()) - switches;
  EXPECT_TRUE(korva.Pixels(voltage) == closed) << "the voltage went on changing";
  // Resting in its event loop the program wakes for nothing; allow a few
  // for whatever the X server may still send it.
  EXPECT_LE(woken, 10) << "the program kept waking up";
  korva.SaveScreenshot("threshold-arrow-after-the-box");
}

// ---- the port box ----------------------------------------------------------

// The adapter is pulled while its port is open and plugged in again; it
// comes back behind the same /dev name as a new device. Picking "USB0"
// again, the row already picked, closes the old line and opens the new one.
TEST(PortBox, PickingTheOpenRowAgainOpensTheAdapterPluggedBackIn) {
  TTrackerSession session;
  TKorvaProcess& korva = session.Korva();
  const std::string tx{27, 3};
  korva.ClickControl("Button6");
  ASSERT_TRUE(session.Line().WaitForBytes(2, kPatience));
  ASSERT_EQ(session.Line().Text(), tx);
  ASSERT_TRUE(session.Line().WaitForQuiet(TMillis(1500), kPatience));

  TRecordingPty& replugged = korva.Replug(kTracker);
  ASSERT_TRUE(korva.PickPort(1));
  korva.ClickControl("Button6");
  EXPECT_TRUE(replugged.WaitForBytes(2, kPatience)) << "nothing reached the new device";
  EXPECT_EQ(replugged.Text(), tx);
  EXPECT_FALSE(korva.FindWindow("ZAZU - VED", TMillis(300)).has_value());
  EXPECT_TRUE(LockFileExists());
}

std::vector<std::string> SettingsLines(TKorvaProcess& korva) {
  std::ifstream file(korva.WorkDir() + "/korva.ini");
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

// Where the focus is, seen from outside: a character typed into the port
// box's text field is an edit, which the error dialog reports; "GPS-Simul."
// with no port picked answers Return with the guard's box; what is typed
// into Edit4 lands in korva.ini's fourth line.
TEST(PortBox, TakesOneTabStopInItsTextFieldBothWays) {
  TKorvaProcess korva;
  korva.Start();
  ASSERT_TRUE(korva.WaitForWindow()) << korva.Stderr();
  // End first: the text that Tab selects would go in two edits, deleted
  // and then replaced.
  const auto expectEditReported = [&korva](const std::string& way) {
    korva.PressKey("End x");
    const std::optional<TXWindow> error = korva.FindWindow("ZAZU - VED", kPatience);
    ASSERT_TRUE(error.has_value()) << way << ": the focus is not in the box's text field";
    korva.PressKeyIn(*error, "Return");
    ASSERT_TRUE(Gone(korva, "ZAZU - VED"));
  };

  // Edit1, Edit2, Edit3, Button1, Button2, then the box.
  korva.PressKey("Tab Tab Tab Tab Tab");
  expectEditReported("Tab from GPS-Simul.");
  korva.PressKey("Tab");
  korva.Type("Z");
  // Back from Edit4, wherever the Tabs before have left the focus.
  korva.ClickControl("Edit4");
  korva.PressKey("shift+Tab");
  expectEditReported("Shift-Tab from Edit4");
  korva.PressKey("shift+Tab Return");
  const std::optional<TXWindow> box = korva.FindWindow("ERROR", kPatience);
  ASSERT_TRUE(box.has_value()) << "Shift-Tab from the box did not reach GPS-Simul.";
  korva.PressKeyIn(*box, "Return");
  ASSERT_TRUE(Gone(korva, "ERROR"));

  korva.SendCloseRequest();
  ASSERT_TRUE(korva.WaitForExit(kPatience).has_value());
  const std::vector<std::string> lines = SettingsLines(korva);
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[3], "Z") << "the Tab after the box did not reach Edit4";
}

}  // namespace
