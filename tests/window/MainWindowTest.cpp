// The main window as the user first meets it: place, size, frame, focus,
// colours, limits of the entries, tab order and hints.

#include <gtest/gtest.h>

#include "Theme.h"
#include "WindowTesting.h"

using namespace testing_support;

namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  ShownForm form;
  TForm1& f = *form;

  // The window's inner area on the screen.
  void Inner(int& x, int& y, int& w, int& h) {
    f.Window().get_window()->get_origin(x, y);
    f.Window().get_window()->get_size(w, h);
  }
  // Pixel at a point of the window's inner area.
  uint32_t At(int x, int y) {
    int ox, oy, w, h;
    Inner(ox, oy, w, h);
    return ScreenColour(ox + x, oy + y);
  }
  void TypeInto(Gtk::Entry& entry, const std::string& text) {
    entry.grab_focus();
    Settle();
    Xdotool({"key", "End"});
    Xdotool({"type", "--delay", "20", text});
  }
};

TEST_F(MainWindowTest, OpensCentredWithItsCaptionSizeAndFocus) {
  int x, y, w, h;
  Inner(x, y, w, h);
  const int screenW = Gdk::Screen::get_default()->get_width();
  const int screenH = Gdk::Screen::get_default()->get_height();
  EXPECT_EQ(f.Window().get_title(), "KORVA");
  EXPECT_EQ(w, 387);
  EXPECT_EQ(h, 368);
  EXPECT_EQ(x, (screenW - 387) / 2);
  EXPECT_EQ(y, (screenH - 368) / 2);
  EXPECT_TRUE(f.Edit1->has_focus());
}

TEST_F(MainWindowTest, FrameOffersCloseButNeitherMinimiseNorMaximise) {
  unsigned long functions = 0, decorations = 0;
  ASSERT_TRUE(MotifHints(f.Window(), functions, decorations));
  enum { kFuncResize = 2, kFuncMove = 4, kFuncMinimize = 8, kFuncMaximize = 16, kFuncClose = 32 };
  enum { kDecorTitle = 8, kDecorMenu = 16, kDecorMinimize = 32, kDecorMaximize = 64 };
  EXPECT_EQ(functions, unsigned(kFuncResize | kFuncMove | kFuncClose));
  EXPECT_TRUE(decorations & kDecorTitle);
  EXPECT_TRUE(decorations & kDecorMenu);
  EXPECT_FALSE(decorations & (kDecorMinimize | kDecorMaximize));
  EXPECT_FALSE(functions & (kFuncMinimize | kFuncMaximize));
}

TEST_F(MainWindowTest, ShowsTheStoredColours) {
  struct Probe {
    const char* where;
    int x, y;
    uint32_t colour;
  };
  // Points clear of text and frames: the right end of an entry's text area,
  // the gap between panels.
  const Probe probes[] = {
      {"window background", 2, 2, 0x000000},
      {"between panels", 116, 200, 0x000000},
      {"call-sign entry", 28 + 85 - 6, 40 + 11, 0xB9B9FF},
      {"path entry", 120 + 112 - 6, 40 + 11, 0xB0B0FF},
      {"beacon-text entry", 120 + 176 - 6, 80 + 11, 0x80FF80},
      {"panel", 200, 20, 0x3F4738},
      {"threshold voltage box", 299 + 2, 232 + 18, 0x000000},
  };
  for (const Probe& p : probes)
    EXPECT_EQ(At(p.x, p.y), p.colour) << p.where << " at (" << p.x << ", " << p.y << ")";
}

TEST_F(MainWindowTest, StatusLineIsLightRed) {
  bool found = false;
  for (int x = 18; x < 18 + 345 && !found; ++x)
    for (int y = 329; y < 329 + 16 && !found; ++y) found = At(x, y) == 0x9797FF;
  EXPECT_EQ(f.Label4->get_text(), "Set GPS-device to 4800 bd NMEA 0183 GGA or RMC");
  EXPECT_TRUE(found) << "no pixel of the status line's colour 0x9797FF";
}

TEST_F(MainWindowTest, TwoMinutesAloneIsCheckedAndTheGroupIsExclusive) {
  Gtk::RadioButton* buttons[] = {f.RadioButton3, f.RadioButton4, f.RadioButton5,
                                 f.RadioButton6, f.RadioButton7, f.RadioButton1};
  for (auto* b : buttons) EXPECT_EQ(b->get_active(), b == f.RadioButton4) << b->get_label();
  f.RadioButton3->set_active(true);
  for (auto* b : buttons) EXPECT_EQ(b->get_active(), b == f.RadioButton3) << b->get_label();
}

TEST_F(MainWindowTest, TypingPastAnEntrysLimitIsRefused) {
  struct Case {
    Gtk::Entry* entry;
    const char* typed;
    const char* after;
  };
  const Case cases[] = {
      {f.Edit4, "x", "-"},
      {f.Edit5, "ABCDE", "APRS,WIDE2-2ABCD"},
      {f.Edit6, "12", "501"},
  };
  for (const Case& c : cases) {
    TypeInto(*c.entry, c.typed);
    EXPECT_EQ(c.entry->get_text(), c.after);
  }
}

TEST_F(MainWindowTest, TextSetByTheProgramIsCutToTheLimit) {
  f.Edit5->set_text("ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(f.Edit5->get_text(), "ABCDEFGHIJKLMNOP");
  f.Edit1->set_text("ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(f.Edit1->get_text(), "ABCDEFGHIJKLMNOPQRST");
}

TEST_F(MainWindowTest, TabFromBeaconTextSkipsTheHiddenCheckBox) {
  EXPECT_FALSE(f.CheckBox1->is_visible());
  f.Edit3->grab_focus();
  Settle();
  Xdotool({"key", "Tab"});
  EXPECT_TRUE(f.Button1->has_focus());
}

TEST_F(MainWindowTest, HintsAreTheStoredOnes) {
  EXPECT_EQ(f.Button6->get_tooltip_text(), "transmit APRS");
  EXPECT_EQ(f.Button2->get_tooltip_text(), "send NMEA-signal to tracker");
  EXPECT_EQ(f.Button4->get_tooltip_text(), "send 1200 Hz");
  EXPECT_EQ(f.Button5->get_tooltip_text(), "send 2400 Hz");
  EXPECT_FALSE(f.Button1->get_has_tooltip());
}

TEST(LayoutFonts, PixelHeightsBecomeWholePointsAtTheScreensResolution) {
  struct Case {
    int height;
    double dpi;
    int points;
  };
  const Case cases[] = {{-10, 96, 8}, {-11, 96, 8}, {-12, 96, 9}, {-17, 96, 13},
                        {8, 96, 8},   {-10, 120, 6}, {-17, 72, 17}};
  for (const Case& c : cases)
    EXPECT_EQ(TTheme::PointSize(c.height, c.dpi), c.points) << c.height << " at " << c.dpi;
}

TEST_F(MainWindowTest, ControlsTakeTheirStoredFontsAtTheScreensResolution) {
  const long dpi = ScreenDotsPerInch();
  ASSERT_TRUE(dpi == 96 || dpi == 100) << "no fonts listed for " << dpi << " dpi";
  struct Case {
    Gtk::Widget* control;
    const char* at96;
    const char* at100;
  };
  const Case cases[] = {
      {f.Label9, "Arial Bold 13", "Arial Bold 12"},              // -17
      {f.Label4, "Arial 9", "Arial 9"},                          // -12
      {f.Edit2, "DejaVu Sans Mono 8", "DejaVu Sans Mono 7"},     // -10
      {f.Edit1, "DejaVu Sans Mono 8", "DejaVu Sans Mono 7"},     // the window's font
      {f.Label5, "Sans 8", "Sans 8"},                            // -11
      {f.Label8, "Sans 8", "Sans 8"},                            // the theme's family, 8 points
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.control->get_style()->get_font().to_string(), dpi == 96 ? c.at96 : c.at100)
        << gtk_buildable_get_name(GTK_BUILDABLE(c.control->gobj()));
}

}  // namespace
