// The theme colours the layout names, read once their values are real.

#include <gtest/gtest.h>

#include "Theme.h"
#include "WindowTesting.h"

namespace {

bool Same(const Gdk::Color& a, const Gdk::Color& b) {
  return a.get_red() == b.get_red() && a.get_green() == b.get_green() &&
         a.get_blue() == b.get_blue();
}

std::string Text(const Gdk::Color& c) { return c.to_string(); }

TEST(Theme, EveryThemeColourIsTheOneARealisedTopLevelWindowReports) {
  const TTheme theme(Gdk::Screen::get_default());
  Gtk::Window probe;
  gtk_widget_realize(GTK_WIDGET(probe.gobj()));
  const Glib::RefPtr<Gtk::Style> style = probe.get_style();
  struct Case {
    const char* name;
    Gdk::Color realised;
  };
  const Case cases[] = {
      {"theme:text", style->get_text(Gtk::STATE_NORMAL)},
      {"theme:base", style->get_base(Gtk::STATE_NORMAL)},
      {"theme:light", style->get_light(Gtk::STATE_NORMAL)},
      {"theme:white", style->get_white()},
      {"theme:selected-text", style->get_fg(Gtk::STATE_SELECTED)},
  };
  for (const Case& c : cases) {
    const std::optional<Gdk::Color> read = theme.Colour(c.name);
    ASSERT_TRUE(read) << c.name;
    EXPECT_TRUE(Same(*read, c.realised))
        << c.name << ": " << Text(*read) << " instead of " << Text(c.realised);
  }
}

TEST(Theme, LayoutColoursAreBgrAndAnythingElseIsRefused) {
  const TTheme theme(Gdk::Screen::get_default());
  EXPECT_FALSE(theme.Colour(""));
  const Gdk::Color yellow = *theme.Colour("0x00FFFF");
  EXPECT_EQ(yellow.get_red(), 0xFFFF);
  EXPECT_EQ(yellow.get_green(), 0xFFFF);
  EXPECT_EQ(yellow.get_blue(), 0);
  for (const char* bad : {"theme:dark", "0xFFFFFFF", "0x12345", "FFFFFF", "0x12345G"})
    EXPECT_THROW(theme.Colour(bad), std::invalid_argument) << bad;
}

}  // namespace
