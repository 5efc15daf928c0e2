// The program from start to end, and the one pass of event processing that
// command handlers take in their middle.

#include <glibmm/spawn.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "WindowTesting.h"

using namespace testing_support;

namespace {

TEST(Program, StartsShowsItsWindowAndExitsWithZeroOnTheCloseRequest) {
  Glib::Pid pid;
  Glib::spawn_async("", std::vector<std::string>{KORVA_PROGRAM}, Glib::SPAWN_DO_NOT_REAP_CHILD,
                    sigc::slot<void>(), &pid);
  int out = -1;
  std::string window;
  Glib::spawn_command_line_sync("xdotool search --sync --onlyvisible --name ^KORVA$", &window);
  ASSERT_FALSE(window.empty());
  SendCloseRequest(std::stoul(window));
  int status = 0;
  for (int waited = 0; waited < 10000 && (out = waitpid(pid, &status, WNOHANG)) == 0; waited += 10)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  if (out == 0) kill(pid, SIGKILL);
  ASSERT_EQ(out, pid) << "still running after the close request";
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

// GTK 2 alone would blink a focused cursor for ever and wake the idle
// program twice a second; nothing in this test's environment chooses a time.
TEST(Program, StopsTheCursorBlinkingTenSecondsAfterTheLastInput) {
  App();
  int timeout = 0;
  g_object_get(gtk_settings_get_default(), "gtk-cursor-blink-timeout", &timeout, nullptr);
  EXPECT_EQ(timeout, 10);
}

class PendingEventsTest : public ::testing::Test {
 protected:
  ShownForm form;
};

// "THRESH." takes the click: a command button would stop in its own modal
// box while no port is open.
TEST_F(PendingEventsTest, AWaitingClickRunsInsideTheStepAndNothingWaitsAfterIt) {
  int clicks = 0;
  form->CheckBox3->signal_clicked().connect([&clicks] { ++clicks; });
  int x = 0, y = 0;
  ScreenOrigin(*form->CheckBox3, x, y);
  // The click is made while nothing processes events: it waits in the queue.
  Glib::spawn_command_line_sync("xdotool mousemove " + std::to_string(x + 10) + " " +
                                std::to_string(y + 10) + " click 1");
  EXPECT_EQ(clicks, 0);
  App().ProcessPendingEvents();
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(Gtk::Main::events_pending());
}

using PendingEventsDeathTest = PendingEventsTest;

// In a process of its own: once told to end, this process's loop stays ended.
TEST_F(PendingEventsDeathTest, TheCloseRequestEndsTheEventLoop) {
  EXPECT_EXIT(
      {
        alarm(10);
        SendCloseRequest(form->Window());
        App().Run();
        std::exit(App().Terminated() && form->Window().is_visible() ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
