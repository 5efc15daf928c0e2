#pragma once
// Colours and fonts as the stored layout writes them, turned into what the
// toolkit draws with. Layout colours are 0xBBGGRR (red in the low byte) or
// "theme:<name>", a colour of the desktop theme's top-level window style.

#include <gdkmm/color.h>
#include <gtkmm/style.h>
#include <pangomm/fontdescription.h>

#include <optional>
#include <string>

class TTheme {
 public:
  // Reads the theme from a top-level window's style and the screen's
  // resolution in dots per inch.
  TTheme(const Glib::RefPtr<Gtk::Style>& windowStyle, double dotsPerInch);

  // nullopt for an empty text (the control keeps its default); throws
  // std::invalid_argument for anything that is not a colour.
  std::optional<Gdk::Color> Colour(const std::string& text) const;
  // An empty family or a zero height takes the theme's.
  Pango::FontDescription Font(const std::string& family, int height, bool bold) const;

  // A negative height is a pixel height: points = -height * 72 / dpi,
  // rounded to the nearest whole point, halves away from zero.
  static int PointSize(int height, double dotsPerInch);
  // The screen's resolution, as fonts given in pixels are measured against.
  static double ScreenDotsPerInch();

 private:
  Glib::RefPtr<Gtk::Style> style_;
  double dotsPerInch_;
};

// 0xBBGGRR, as the layout and the lamps write colours.
Gdk::Color ColourFromBgr(unsigned value);
