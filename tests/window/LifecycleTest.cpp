// The event loop's end, and the one pass of event processing that command
// handlers take in their middle.

#include <glibmm/spawn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "WindowTesting.h"

using namespace testing_support;

namespace {

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
