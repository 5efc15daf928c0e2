#include "Theme.h"

#include <gtkmm/style.h>
#include <gtkmm/window.h>

#include <cmath>
#include <stdexcept>

namespace {

// The screen's resolution, as fonts given in pixels are measured against.
double DotsPerInchOf(const Glib::RefPtr<Gdk::Screen>& screen) {
  // Whole dots per inch: the screen's millimetres are themselves rounded,
  // and 95.98 must not turn a height of -10 into 7 points instead of 8.
  const double resolution = screen->get_resolution();
  if (resolution > 0) return std::round(resolution);
  if (screen->get_height_mm() > 0)
    return std::round(screen->get_height() * 25.4 / screen->get_height_mm());
  return 96.0;
}

}  // namespace

Gdk::Color ColourFromBgr(unsigned value) {
  Gdk::Color colour;
  colour.set_rgb((value & 0xFF) * 257, ((value >> 8) & 0xFF) * 257, ((value >> 16) & 0xFF) * 257);
  return colour;
}

TTheme::TTheme(const Glib::RefPtr<Gdk::Screen>& screen) : dotsPerInch_(DotsPerInchOf(screen)) {
  // Never shown and gone at the end of this block. Realising it runs no
  // handler of ours; the main window cannot serve, as realising it runs
  // FormCreate, and its own black background would darken its light colour.
  Gtk::Window probe;
  probe.set_screen(screen);
  gtk_widget_realize(GTK_WIDGET(probe.gobj()));
  const Glib::RefPtr<Gtk::Style> style = probe.get_style();
  colours_ = {
      {"theme:text", style->get_text(Gtk::STATE_NORMAL)},
      {"theme:base", style->get_base(Gtk::STATE_NORMAL)},
      {"theme:light", style->get_light(Gtk::STATE_NORMAL)},
      {"theme:white", style->get_white()},
      {"theme:selected-text", style->get_fg(Gtk::STATE_SELECTED)},
  };
  font_ = style->get_font();
}

std::optional<Gdk::Color> TTheme::Colour(const std::string& text) const {
  if (text.empty()) return std::nullopt;
  auto themed = colours_.find(text);
  if (themed != colours_.end()) return themed->second;
  std::size_t used = 0;
  unsigned long value = 0;
  if (text.rfind("0x", 0) == 0 && text.size() == 8) value = std::stoul(text, &used, 16);
  if (used != text.size() || value > 0xFFFFFF)
    throw std::invalid_argument("layout colour \"" + text + "\" is not 0xBBGGRR or a theme colour");
  return ColourFromBgr(static_cast<unsigned>(value));
}

Pango::FontDescription TTheme::Font(const std::string& family, int height, bool bold) const {
  Pango::FontDescription font;
  font.set_family(family.empty() ? font_.get_family() : Glib::ustring(family));
  if (height == 0) {
    font.set_size(font_.get_size());
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
