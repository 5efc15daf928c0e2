#include "PixelSurface.h"

#include <stdexcept>

namespace canvas_testing {

PixelSurface::PixelSurface(int width, int height, TColor background)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height)),
      cr_(cairo_create(surface_)) {
  if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS) throw std::runtime_error("no cairo surface");
  cairo_set_source_rgb(cr_, RedOf(background) / 255.0, GreenOf(background) / 255.0,
                       BlueOf(background) / 255.0);
  cairo_paint(cr_);
}

PixelSurface::~PixelSurface() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surface_);
}

uint32_t PixelSurface::RawAt(int x, int y) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) throw std::out_of_range("pixel off the surface");
  cairo_surface_flush(surface_);
  const unsigned char* row =
      cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
  return reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFF;
}

TColor PixelSurface::At(int x, int y) {
  const uint32_t raw = RawAt(x, y);
  return MakeColor(raw >> 16 & 0xFF, raw >> 8 & 0xFF, raw & 0xFF);
}

std::vector<TColor> PixelSurface::Snapshot() {
  std::vector<TColor> pixels;
  pixels.reserve(size_t(width_) * height_);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) pixels.push_back(At(x, y));
  return pixels;
}

std::vector<TPoint> ChangedPoints(const std::vector<TColor>& before,
                                  const std::vector<TColor>& after, int width) {
  std::vector<TPoint> changed;
  for (size_t i = 0; i < before.size() && i < after.size(); ++i)
    if (before[i] != after[i]) changed.push_back({int(i % width), int(i / width)});
  return changed;
}

}  // namespace canvas_testing
