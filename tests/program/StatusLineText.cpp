#include "StatusLineText.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <thread>
#include <vector>

namespace blackbox {

namespace {

// The status line's box in the window (its layout's Label4), a little taller
// so a descender or a shifted baseline is not cut off.
constexpr int kLeft = 18, kTop = 325, kWidth = 345, kHeight = 24;
// Its font: Arial, 12 pixels high, which is 9 points at the 96 dots per inch
// the harness gives the X server by default (TKorvaOptions::dpi).
constexpr char kFont[] = "Arial 9";
constexpr double kDotsPerInch = 96;

// Ink per pixel, 0 (background) to 1 (the text's full colour), row by row.
struct TInk {
  int width = 0, height = 0;
  std::vector<double> cover;
  double At(int x, int y) const {
    return x < 0 || y < 0 || x >= width || y >= height ? 0 : cover[y * width + x];
  }
};

int Brightness(uint32_t bgr) { return (bgr & 0xFF) + (bgr >> 8 & 0xFF) + (bgr >> 16 & 0xFF); }

TInk ScreenInk(TKorvaProcess& korva) {
  std::ifstream file(korva.SaveScreenshot("status-line"), std::ios::binary);
  std::string magic;
  int width = 0, height = 0, depth = 0;
  file >> magic >> width >> height >> depth;
  file.get();
  const std::string pixels((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
  if (magic != "P6" || pixels.size() < static_cast<size_t>(width * height * 3))
    throw std::runtime_error("the screenshot cannot be read");
  std::vector<uint32_t> box;
  for (int y = kTop; y < kTop + kHeight; ++y)
    for (int x = kLeft; x < kLeft + kWidth; ++x) {
      const auto* p = reinterpret_cast<const unsigned char*>(&pixels[(y * width + x) * 3]);
      box.push_back(p[0] | p[1] << 8 | p[2] << 16);
    }
  // The strip's own colour is the one most of it shows.
  std::map<uint32_t, int> counts;
  for (uint32_t pixel : box) ++counts[pixel];
  const auto mostSeen = [](const auto& a, const auto& b) { return a.second < b.second; };
  const uint32_t ground = std::max_element(counts.begin(), counts.end(), mostSeen)->first;
  const double span = 765.0 - Brightness(ground);
  TInk ink{kWidth, kHeight, {}};
  for (uint32_t pixel : box)
    ink.cover.push_back(std::clamp((Brightness(pixel) - Brightness(ground)) / span, 0.0, 1.0));
  return ink;
}

TInk RenderedInk(const std::string& text) {
  const int width = kWidth * 2, height = kHeight;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, 1, 1, 1);
  // Full hinting, as GTK draws on an X server that states no font settings:
  // the glyphs then come out pixel for pixel as on the screen.
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_FULL);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
  PangoLayout* layout = pango_cairo_create_layout(cr);
  pango_cairo_context_set_resolution(pango_layout_get_context(layout), kDotsPerInch);
  pango_layout_context_changed(layout);
  PangoFontDescription* font = pango_font_description_from_string(kFont);
  pango_layout_set_font_description(layout, font);
  pango_layout_set_text(layout, text.c_str(), -1);
  cairo_move_to(cr, 4, 2);
  pango_cairo_show_layout(cr, layout);
  cairo_surface_flush(surface);
  TInk ink{width, height, {}};
  const unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint32_t pixel = *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
      ink.cover.push_back(((pixel >> 16 & 0xFF) + (pixel >> 8 & 0xFF) + (pixel & 0xFF)) / 765.0);
    }
  pango_font_description_free(font);
  g_object_unref(layout);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  return ink;
}

// The smallest box that holds every clearly inked pixel.
struct TBox {
  int left = 0, top = 0, right = -1, bottom = -1;  // inclusive; empty when right < left
  int Width() const { return right - left + 1; }
  int Height() const { return bottom - top + 1; }
};

TBox InkedBox(const TInk& ink) {
  TBox box{ink.width, ink.height, -1, -1};
  for (int y = 0; y < ink.height; ++y)
    for (int x = 0; x < ink.width; ++x)
      if (ink.At(x, y) > 0.3) {
        box.left = std::min(box.left, x);
        box.top = std::min(box.top, y);
        box.right = std::max(box.right, x);
        box.bottom = std::max(box.bottom, y);
      }
  return box;
}

// The two shapes laid over each other at their boxes' corners, give or take
// a pixel, where they agree best: the largest difference of ink at any one
// pixel there. A glyph that differs leaves a pixel inked in one and bare in
// the other.
double Distance(const TInk& a, const TBox& boxA, const TInk& b, const TBox& boxB) {
  double bestTotal = 1e9, largest = 1e9;
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      double total = 0, worst = 0;
      for (int y = -1; y <= std::max(boxA.Height(), boxB.Height()); ++y)
        for (int x = -1; x <= std::max(boxA.Width(), boxB.Width()); ++x) {
          const double inA = a.At(boxA.left + x, boxA.top + y);
          const double differs = std::fabs(inA - b.At(boxB.left + x + dx, boxB.top + y + dy));
          total += differs;
          worst = std::max(worst, differs);
        }
      if (total < bestTotal) {
        bestTotal = total;
        largest = worst;
      }
    }
  return largest;
}

}  // namespace

double StatusLineDistance(TKorvaProcess& korva, const std::string& text) {
  const TInk screen = ScreenInk(korva), expected = RenderedInk(text);
  const TBox onScreen = InkedBox(screen), wanted = InkedBox(expected);
  constexpr double kOtherSize = 1e9;
  if (onScreen.Width() <= 0 || wanted.Width() <= 0)
    return onScreen.Width() == wanted.Width() ? 0 : kOtherSize;
  if (std::abs(onScreen.Width() - wanted.Width()) > 2 ||
      std::abs(onScreen.Height() - wanted.Height()) > 2)
    return kOtherSize;
  return Distance(screen, onScreen, expected, wanted);
}

bool WaitForStatusLine(TKorvaProcess& korva, const std::string& text, TMillis timeout) {
  const int64_t deadline = MonotonicNs() + std::chrono::nanoseconds(timeout).count();
  do {
    if (StatusLineDistance(korva, text) < kSameText) return true;
    std::this_thread::sleep_for(TMillis(20));
  } while (MonotonicNs() < deadline);
  return false;
}

}  // namespace blackbox
