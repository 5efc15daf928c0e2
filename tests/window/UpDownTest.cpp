// The up-down control: range, steps at the ends, holding an arrow, what ends
// a hold besides the arrow's own release, and a disabled control.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

#include "WindowTesting.h"

using namespace testing_support;
using Clock = std::chrono::steady_clock;

namespace {

struct Clicks {
  std::vector<bool> up;
  std::vector<Clock::time_point> at;
};

void Record(TUpDown*, gboolean up, gpointer data) {
  auto* clicks = static_cast<Clicks*>(data);
  clicks->up.push_back(up);
  clicks->at.push_back(Clock::now());
}

class UpDownTest : public ::testing::Test {
 protected:
  UpDownTest() { g_signal_connect(f.UpDown1, "click", G_CALLBACK(Record), &clicks); }
  Gtk::Widget& Control() { return *Glib::wrap(GTK_WIDGET(f.UpDown1)); }
  void SetPosition(int p) {
    gtk_adjustment_set_value(t_up_down_get_adjustment(f.UpDown1), p);
  }
  // The upper arrow is the upper half of the 36-pixel-high control.
  void PointAtArrow(bool up) { PointAt(Control(), 0, up ? -9 : 9); }

  ShownForm form;
  TForm1& f = *form;
  Clicks clicks;
};

TEST_F(UpDownTest, EveryClickStepsOnceAndClicksAlsoAtTheEnds) {
  struct Case {
    int from;
    bool up;
    int to;
  };
  const Case cases[] = {{25, true, 26}, {25, false, 24}, {50, true, 50}, {0, false, 0}, {1, false, 0}};
  EXPECT_EQ(f.UpDownPosition(), 25);
  for (const Case& c : cases) {
    SetPosition(c.from);
    clicks = {};
    PointAtArrow(c.up);
    Xdotool({"click", "1"});
    EXPECT_EQ(f.UpDownPosition(), c.to) << c.from << (c.up ? " up" : " down");
    ASSERT_EQ(clicks.up.size(), 1u) << c.from;
    EXPECT_EQ(clicks.up[0], c.up);
  }
}

TEST_F(UpDownTest, HoldingAnArrowRepeatsFasterAndFaster) {
  SetPosition(0);
  PointAtArrow(true);
  Xdotool({"mousedown", "1"});
  Pump(1500);
  Xdotool({"mouseup", "1"});
  const std::size_t held = clicks.at.size();
  ASSERT_GE(held, 5u);
  // Every repeat is one step; steps at the upper end click but stay at 50.
  EXPECT_EQ(f.UpDownPosition(), std::min(static_cast<int>(held), 50));
  const auto first = clicks.at[1] - clicks.at[0];
  const auto last = clicks.at[held - 1] - clicks.at[held - 2];
  EXPECT_LT(last, first);
  Pump(300);
  EXPECT_EQ(clicks.at.size(), held) << "went on stepping after the release";
}

// Something that takes a hold away from the arrow before its release, and
// what gives the hand back to the arrow afterwards.
struct Interruption {
  const char* what;
  std::function<void(TForm1&, Gtk::Window& other)> take, giveBack;
};

// With no window manager, this sets the X server's keyboard focus itself.
void Focus(Gtk::Window& window) {
  window.get_window()->focus(GDK_CURRENT_TIME);
  Settle();
}

Gtk::Widget& ControlOf(TForm1& f) { return *Glib::wrap(GTK_WIDGET(f.UpDown1)); }

const Interruption kInterruptions[] = {
    {"the pointer went off the arrow",
     [](TForm1& f, Gtk::Window&) { PointAt(ControlOf(f), 0, 40); },
     [](TForm1& f, Gtk::Window&) { PointAt(ControlOf(f), 0, -9); }},
    {"a modal window took the grab",
     [](TForm1&, Gtk::Window& other) {
       other.set_modal(true);
       other.show();
       Settle();
     },
     [](TForm1&, Gtk::Window& other) {
       other.hide();
       Settle();
     }},
    {"the window lost the focus",
     [](TForm1&, Gtk::Window& other) {
       other.show();
       Settle();
       Focus(other);
     },
     [](TForm1& f, Gtk::Window& other) {
       Focus(f.Window());
       other.hide();
       Settle();
     }},
    {"the control was hidden",
     [](TForm1& f, Gtk::Window&) {
       ControlOf(f).hide();
       Settle();
     },
     [](TForm1& f, Gtk::Window&) {
       ControlOf(f).show();
       Settle();
     }},
    {"the window was hidden",
     [](TForm1& f, Gtk::Window&) {
       f.Window().hide();
       Settle();
     },
     [](TForm1& f, Gtk::Window&) {
       f.Window().show();
       Focus(f.Window());
     }},
    {"the control turned insensitive",
     [](TForm1& f, Gtk::Window&) { ControlOf(f).set_sensitive(false); },
     [](TForm1& f, Gtk::Window&) { ControlOf(f).set_sensitive(true); }},
};

// The mouse button stays down on the upper arrow all along: only what
// happened between press and release ends the repeat, and it does not
// resume when the arrow gets the hand back.
TEST(UpDownHold, EndsForGoodWhenTheArrowLosesTheHoldWithoutARelease) {
  for (const Interruption& cut : kInterruptions) {
    ShownForm form;
    TForm1& f = *form;
    Clicks clicks;
    g_signal_connect(f.UpDown1, "click", G_CALLBACK(Record), &clicks);
    gtk_adjustment_set_value(t_up_down_get_adjustment(f.UpDown1), 0);
    Gtk::Window other;
    other.set_default_size(50, 50);
    Focus(f.Window());
    PointAt(ControlOf(f), 0, -9);
    Xdotool({"mousedown", "1"});
    for (int waited = 0; clicks.up.size() < 2 && waited < 3000; waited += 50) Pump(50);
    ASSERT_GE(clicks.up.size(), 2u) << cut.what << ": the held arrow did not repeat";
    cut.take(f, other);
    const std::size_t taken = clicks.up.size();
    Pump(800);
    EXPECT_EQ(clicks.up.size(), taken) << cut.what << ": went on stepping";
    cut.giveBack(f, other);
    Pump(800);
    EXPECT_EQ(clicks.up.size(), taken) << cut.what << ": stepped again without a new press";
    Xdotool({"mouseup", "1"});
    EXPECT_EQ(f.UpDownPosition(), static_cast<int>(taken)) << cut.what;
  }
}

TEST_F(UpDownTest, ADisabledControlMakesNoSteps) {
  Control().set_sensitive(false);
  PointAtArrow(true);
  Xdotool({"click", "1"});
  EXPECT_EQ(f.UpDownPosition(), 25);
  EXPECT_TRUE(clicks.up.empty());
}

}  // namespace
