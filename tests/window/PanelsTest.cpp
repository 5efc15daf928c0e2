// The panels and their lamps as the screen shows them, and the handlers of
// the interval buttons, "THRESH." and the up-down control.

#include <gtest/gtest.h>

#include <algorithm>

#include "Indicators.h"
#include "WindowTesting.h"

using namespace testing_support;

namespace {

class PanelsTest : public ::testing::Test {
 protected:
  ShownForm form;
  TForm1& f = *form;

  // Pixel at a point of a panel's own coordinates.
  uint32_t At(Gtk::Widget& panel, int x, int y) {
    int ox = 0, oy = 0;
    ScreenOrigin(panel, ox, oy);
    return ScreenColour(ox + x, oy + y);
  }
  // The colour a lamp whose square starts at (x, y) shows at its centre.
  uint32_t Lamp(Gtk::Widget& panel, int x, int y) { return At(panel, x + 11, y + 11); }
  uint32_t BeaconLamp() { return Lamp(*f.Shape4, kBeaconLampX, kBeaconLampY); }
  uint32_t AnalogLamp() { return Lamp(*f.Shape2, 39, 72); }
  void Repaint(Gtk::Widget& panel) {
    panel.queue_draw();
    Settle();
  }
  void Click(Gtk::Widget& widget) {
    PointAt(widget);
    Xdotool({"click", "1"});
  }
};

TEST_F(PanelsTest, WindowAtStart) {
  int x = 0, y = 0;
  f.Window().get_window()->get_origin(x, y);
  std::cout << "screenshot: " << SaveScreenshot("window-at-start", x, y, 387, 368) << "\n";
  EXPECT_EQ(f.Label9->get_text(), " 2,5 V ");
  EXPECT_TRUE(f.RadioButton4->get_active());
  EXPECT_FALSE(f.CheckBox3->get_active());
  for (int lampY : {kWriteConfLampY, kGpsSimulLampY, kToneLampY, kTxLampY})
    EXPECT_EQ(Lamp(*f.Shape1, kCommandLampX, lampY), kGrey) << lampY;
  EXPECT_EQ(BeaconLamp(), kGreen);
  EXPECT_EQ(AnalogLamp(), kGrey);
}

TEST_F(PanelsTest, ALampIsABlackRingAroundItsColour) {
  DrawCommandIndicator(15, 15, kYellow);
  Settle();
  EXPECT_EQ(At(*f.Shape1, 26, 26), kYellow) << "centre";
  EXPECT_EQ(At(*f.Shape1, 16, 26), kBlack) << "ring";
  EXPECT_EQ(At(*f.Shape1, 15, 15), kPanelColour) << "corner of its square";
  EXPECT_EQ(At(*f.Shape1, 22, 23), kWhite) << "highlight";
}

TEST_F(PanelsTest, TheLastColourDrawnShows) {
  DrawCommandIndicator(15, 55, kGrey);
  DrawCommandIndicator(15, 55, kGreen);
  Settle();
  for (int x = 15; x < 37; ++x)
    for (int y = 55; y < 77; ++y) ASSERT_NE(At(*f.Shape1, x, y), kGrey) << x << "," << y;
  EXPECT_EQ(Lamp(*f.Shape1, 15, 55), kGreen);
}

TEST_F(PanelsTest, ARepaintShowsWhatThePaintHandlersDraw) {
  DrawCommandIndicator(15, 135, kMagenta);
  Click(*f.RadioButton3);  // "OFF": the beacon lamp grey
  Settle();
  ASSERT_EQ(Lamp(*f.Shape1, 15, 135), kMagenta);
  ASSERT_EQ(BeaconLamp(), kGrey);
  DrawBeaconIndicator(kBeaconLampX, kBeaconLampY, kYellow);
  Repaint(*f.Shape1);
  Repaint(*f.Shape4);
  for (int lampY : {kWriteConfLampY, kGpsSimulLampY, kToneLampY, kTxLampY})
    EXPECT_EQ(Lamp(*f.Shape1, kCommandLampX, lampY), kGrey) << lampY;
  EXPECT_EQ(BeaconLamp(), kGrey) << "OFF chosen";
  Click(*f.RadioButton7);
  DrawBeaconIndicator(kBeaconLampX, kBeaconLampY, kYellow);
  Repaint(*f.Shape4);
  EXPECT_EQ(BeaconLamp(), kGreen) << "30 min chosen";
}

TEST_F(PanelsTest, TheAnalogPanelShowsItsFrameAndTheSwitch) {
  struct Probe {
    int x, y;
  };
  for (Probe p : {Probe{10, 90}, Probe{95, 90}, Probe{52, 10}, Probe{52, 170}})
    EXPECT_EQ(At(*f.Shape2, p.x, p.y), kWhite) << p.x << "," << p.y;
  EXPECT_EQ(At(*f.Shape2, 30, 150), kPanelColour) << "inside the frame";
  f.CheckBox3->set_active(true);
  Repaint(*f.Shape2);
  EXPECT_EQ(AnalogLamp(), kGreen);
  f.CheckBox3->set_active(false);
  Repaint(*f.Shape2);
  EXPECT_EQ(AnalogLamp(), kGrey);
}

TEST_F(PanelsTest, EveryPanelIsOutlinedOnItsLastColumnAndRow) {
  for (Gtk::Widget* panel : {f.Shape1, f.Shape2, f.Shape3, f.Shape4, f.Shape5}) {
    const int w = panel->get_allocation().get_width();
    const int h = panel->get_allocation().get_height();
    EXPECT_EQ(At(*panel, w - 1, h / 2), kBlack) << panel->get_name() << " right";
    EXPECT_EQ(At(*panel, w / 2, h - 1), kBlack) << panel->get_name() << " bottom";
    EXPECT_EQ(At(*panel, 0, h / 2), kBlack) << panel->get_name() << " left";
    EXPECT_EQ(At(*panel, 2, h / 2), kPanelColour) << panel->get_name() << " inside";
  }
}

TEST_F(PanelsTest, CornersAreRoundedByAQuarterOfThePanelsSmallerSide) {
  struct Case {
    const char* name;
    Gtk::Widget* panel;
    int corner;
  };
  const Case cases[] = {{"Shape1", f.Shape1, 36}, {"Shape2", f.Shape2, 26}, {"Shape3", f.Shape3, 28},
                        {"Shape4", f.Shape4, 26}, {"Shape5", f.Shape5, 7}};
  for (const Case& c : cases) {
    // The curve passes about 0.29 of the corner's radius in from both edges:
    // a point nearer the corner lies outside it, one farther in inside. The
    // window behind the panels is as black as their outline, so the point
    // outside must be one that a square corner would fill: at least one
    // pixel in from both edges.
    const int outside = std::max(1, c.corner * 15 / 200), inside = (c.corner + 3) / 4 + 1;
    EXPECT_EQ(At(*c.panel, outside, outside), kBlack) << c.name << " at " << outside;
    EXPECT_EQ(At(*c.panel, inside, inside), kPanelColour) << c.name << " at " << inside;
  }
}

TEST_F(PanelsTest, AnIntervalChangeRunsTheOldButtonsHandlerThenTheNewOnes) {
  struct Step {
    Gtk::RadioButton* to;
    uint32_t lamp;
  };
  const Step steps[] = {{f.RadioButton3, kGrey}, {f.RadioButton1, kGreen}, {f.RadioButton3, kGrey},
                        {f.RadioButton5, kGreen}};
  for (const Step& s : steps) {
    Click(*s.to);
    EXPECT_TRUE(s.to->get_active());
    EXPECT_EQ(BeaconLamp(), s.lamp) << s.to->get_label();
  }
}

TEST_F(PanelsTest, ClickingTheCheckedIntervalRunsNoHandler) {
  DrawBeaconIndicator(kBeaconLampX, kBeaconLampY, kYellow);
  Click(*f.RadioButton4);
  EXPECT_EQ(BeaconLamp(), kYellow);
}

TEST_F(PanelsTest, ThreshSwitchesTheUpDownControlAndTheAnalogLamp) {
  Gtk::Widget& upDown = *Glib::wrap(GTK_WIDGET(f.UpDown1));
  EXPECT_TRUE(upDown.is_sensitive()) << "enabled at start, with the switch off";
  Click(*f.CheckBox3);
  EXPECT_TRUE(upDown.is_sensitive());
  EXPECT_EQ(AnalogLamp(), kGreen);
  Click(*f.CheckBox3);
  EXPECT_FALSE(upDown.is_sensitive());
  EXPECT_EQ(AnalogLamp(), kGrey);
}

TEST_F(PanelsTest, TheVoltageFollowsEveryStep) {
  struct Case {
    int from;
    bool up;
    const char* shown;
  };
  const Case cases[] = {{25, true, " 2.6 V "}, {26, false, " 2.5 V "}, {1, false, " 0 V "},
                        {0, false, " 0 V "},   {49, true, " 5 V "},    {50, true, " 5 V "},
                        {9, true, " 1 V "}};
  for (const Case& c : cases) {
    gtk_adjustment_set_value(t_up_down_get_adjustment(f.UpDown1), c.from);
    t_up_down_step(f.UpDown1, c.up);
    EXPECT_EQ(f.Label9->get_text(), c.shown) << c.from;
  }
}

}  // namespace
