#include "Theme.h"

#include <gtkmm/style.h>
#include <gtk/gtk.h>

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
  // The style the theme gives a top-level window, without making one: the
  // main window cannot serve (realising it runs FormCreate, and its own
  // black background would darken its light colour), and a window made
  // only to be realised costs start-up time. Attaching the style to the
  // root window works out the colours that GTK otherwise sets only when it
  // realises a window.
  GtkStyle* themed = gtk_rc_get_style_by_paths(gtk_settings_get_for_screen(screen->gobj()),
                                               "GtkWindow", "GtkWindow", GTK_TYPE_WINDOW);
  GtkStyle* style = GTK_STYLE(g_object_ref(themed ? themed : gtk_widget_get_default_style()));
  style = gtk_style_attach(style, gdk_screen_get_root_window(screen->gobj()));
  const Glib::RefPtr<Gtk::Style> attached = Glib::wrap(style, true);
  colours_ = {
      {"theme:text", attached->get_text(Gtk::STATE_NORMAL)},
      {"theme:base", attached->get_base(Gtk::STATE_NORMAL)},
      {"theme:light", attached->get_light(Gtk::STATE_NORMAL)},
      {"theme:white", attached->get_white()},
      {"theme:selected-text", attached->get_fg(Gtk::STATE_SELECTED)},
  };
  font_ = attached->get_font();
  gtk_style_detach(style);
  g_object_unref(style);
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
