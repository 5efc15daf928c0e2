#include "Theme.h"

#include <gdkmm/screen.h>

#include <cmath>
#include <stdexcept>

Gdk::Color ColourFromBgr(unsigned value) {
  Gdk::Color colour;
  colour.set_rgb((value & 0xFF) * 257, ((value >> 8) & 0xFF) * 257, ((value >> 16) & 0xFF) * 257);
  return colour;
}

TTheme::TTheme(const Glib::RefPtr<Gtk::Style>& windowStyle, double dotsPerInch)
    : style_(windowStyle), dotsPerInch_(dotsPerInch) {}

std::optional<Gdk::Color> TTheme::Colour(const std::string& text) const {
  if (text.empty()) return std::nullopt;
  if (text == "theme:text") return style_->get_text(Gtk::STATE_NORMAL);
  if (text == "theme:base") return style_->get_base(Gtk::STATE_NORMAL);
  if (text == "theme:light") return style_->get_light(Gtk::STATE_NORMAL);
  if (text == "theme:white") return style_->get_white();
  if (text == "theme:selected-text") return style_->get_fg(Gtk::STATE_SELECTED);
  std::size_t used = 0;
  unsigned long value = 0;
  if (text.rfind("0x", 0) == 0 && text.size() == 8) value = std::stoul(text, &used, 16);
  if (used != text.size() || value > 0xFFFFFF)
    throw std::invalid_argument("layout colour \"" + text + "\" is not 0xBBGGRR or a theme colour");
  return ColourFromBgr(static_cast<unsigned>(value));
}

Pango::FontDescription TTheme::Font(const std::string& family, int height, bool bold) const {
  const Pango::FontDescription themeFont = style_->get_font();
  Pango::FontDescription font;
  font.set_family(family.empty() ? themeFont.get_family() : Glib::ustring(family));
  if (height == 0) {
    font.set_size(themeFont.get_size());
  } else {
    font.set_size(PointSize(height, dotsPerInch_) * Pango::SCALE);
  }
  font.set_weight(bold ? Pango::WEIGHT_BOLD : Pango::WEIGHT_NORMAL);
  return font;
}

int TTheme::PointSize(int height, double dotsPerInch) {
  if (height > 0) return height;
  return static_cast<int>(std::lround(-height * 72.0 / dotsPerInch));
}

double TTheme::ScreenDotsPerInch() {
  Glib::RefPtr<Gdk::Screen> screen = Gdk::Screen::get_default();
  // Whole dots per inch: the screen's millimetres are themselves rounded,
  // and 95.98 must not turn a height of -10 into 7 points instead of 8.
  const double resolution = screen->get_resolution();
  if (resolution > 0) return std::round(resolution);
  if (screen->get_height_mm() > 0)
    return std::round(screen->get_height() * 25.4 / screen->get_height_mm());
  return 96.0;
}
