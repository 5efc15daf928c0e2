#pragma once
// Colours and fonts as the stored layout writes them, turned into what the
// toolkit draws with. Layout colours are 0xBBGGRR (red in the low byte) or
// "theme:<name>", a colour of the desktop theme's top-level window style.

#include <gdkmm/color.h>
#include <gdkmm/screen.h>
#include <pangomm/fontdescription.h>

#include <map>
#include <optional>
#include <string>

class TTheme {
 public:
  // The theme of a top-level window on `screen` and the screen's resolution.
  // The colours are read from the theme's window style once it is attached
  // to the screen, and kept as values: GTK works some of them out (the
  // light colour among them) only then, and until then a style answers
  // black. Nothing else of the theme is read later.
  explicit TTheme(const Glib::RefPtr<Gdk::Screen>& screen);

  // nullopt for an empty text (the control keeps its default); throws
  // std::invalid_argument for anything that is not a colour.
  std::optional<Gdk::Color> Colour(const std::string& text) const;
  // An empty family or a zero height takes the theme's.
  Pango::FontDescription Font(const std::string& family, int height, bool bold) const;
  double DotsPerInch() const { return dotsPerInch_; }

  // A negative height is a pixel height: points = -height * 72 / dpi,
  // rounded to the nearest whole point, halves away from zero.
  static int PointSize(int height, double dotsPerInch);

 private:
  std::map<std::string, Gdk::Color> colours_;
  Pango::FontDescription font_;
  double dotsPerInch_;
};

// 0xBBGGRR, as the layout and the lamps write colours.
Gdk::Color ColourFromBgr(unsigned value);
