#pragma once
// An RGB24 image surface to draw on and read back, pixel by pixel.

#include <cairo.h>

#include <ostream>
#include <vector>

#include "TCanvas.h"
#include "TColor.h"

// For readable test failures.
inline void PrintTo(const TPoint& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }

namespace canvas_testing {

// No drawing of the system uses this colour, so any other colour on the
// surface was drawn.
constexpr TColor kBackground = 0x9C1E5A;

class PixelSurface {
 public:
  PixelSurface(int width, int height, TColor background = kBackground);
  ~PixelSurface();
  PixelSurface(const PixelSurface&) = delete;
  PixelSurface& operator=(const PixelSurface&) = delete;

  cairo_t* Context() { return cr_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

  TColor At(int x, int y);
  // The pixel as cairo stores it: 0x00RRGGBB.
  uint32_t RawAt(int x, int y);
  std::vector<TColor> Snapshot();

 private:
  int width_, height_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
};

// The points whose colour differs between two snapshots of one surface.
std::vector<TPoint> ChangedPoints(const std::vector<TColor>& before,
                                  const std::vector<TColor>& after, int width);

// Whether (x, y) lies in the w x h rectangle at (left, top).
inline bool Inside(TPoint p, int left, int top, int w, int h) {
  return p.x >= left && p.x < left + w && p.y >= top && p.y < top + h;
}

}  // namespace canvas_testing
