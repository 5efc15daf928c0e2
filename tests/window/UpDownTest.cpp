// The up-down control: range, steps at the ends, holding an arrow, and a
// disabled control.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
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

TEST_F(UpDownTest, ADisabledControlMakesNoSteps) {
  Control().set_sensitive(false);
  PointAtArrow(true);
  Xdotool({"click", "1"});
  EXPECT_EQ(f.UpDownPosition(), 25);
  EXPECT_TRUE(clicks.up.empty());
}

}  // namespace
