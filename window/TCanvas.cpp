#include "TCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace {

constexpr double kPi = 3.14159265358979323846;

double Radians(double sixteenths) { return sixteenths / 16.0 * kPi / 180.0; }

// Appends the part of the ellipse around (cx, cy) from angle a0 to a1
// (radians, counter-clockwise on the screen). Flipping y turns cairo's
// clockwise angles into the screen's counter-clockwise ones. A flat ellipse
// keeps a sliver of radius so the scaled matrix stays invertible.
void AppendArc(cairo_t* cr, double cx, double cy, double rx, double ry, double a0, double a1) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, std::max(rx, 1e-3), -std::max(ry, 1e-3));
  if (a1 >= a0)
    cairo_arc(cr, 0, 0, 1, a0, a1);
  else
    cairo_arc_negative(cr, 0, 0, 1, a0, a1);
  cairo_restore(cr);
}

void AppendEllipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
  AppendArc(cr, cx, cy, rx, ry, 0, 2 * kPi);
  cairo_close_path(cr);
}

}  // namespace

TCanvas::TCanvas(cairo_t* cr, int width, int height) : TCanvas(cr, 0, 0, width, height) {}

TCanvas::TCanvas(cairo_t* cr, int left, int top, int width, int height)
    : cr_(cr), width_(width), height_(height) {
  cairo_save(cr_);
  cairo_translate(cr_, left, top);
  cairo_new_path(cr_);
  cairo_rectangle(cr_, 0, 0, std::max(width, 0), std::max(height, 0));
  cairo_clip(cr_);
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
  cairo_set_operator(cr_, CAIRO_OPERATOR_OVER);
  cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_WINDING);
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
}

TCanvas::~TCanvas() {
  cairo_new_path(cr_);
  cairo_restore(cr_);
}

double TCanvas::PenOffset() const { return penWidth_ % 2 ? 0.5 : 0.0; }

void TCanvas::UseColour(TColor colour) {
  cairo_set_source_rgb(cr_, RedOf(colour) / 255.0, GreenOf(colour) / 255.0,
                       BlueOf(colour) / 255.0);
}

void TCanvas::StrokePath() {
  UseColour(penColour_);
  cairo_set_line_width(cr_, penWidth_);
  cairo_stroke(cr_);
}

void TCanvas::FillPathThenStroke() {
  UseColour(brushColour_);
  cairo_fill_preserve(cr_);
  StrokePath();
}

void TCanvas::LineTo(int x, int y) {
  const double o = PenOffset();
  cairo_new_path(cr_);
  cairo_move_to(cr_, penPos_.x + o, penPos_.y + o);
  cairo_line_to(cr_, x + o, y + o);
  StrokePath();
  penPos_ = {x, y};
}

void TCanvas::Line(int x1, int y1, int x2, int y2) {
  MoveTo(x1, y1);
  LineTo(x2, y2);
}

// The fill covers the whole box; the pen runs just inside its edge, so even
// a wide pen stays within the pixels the box names.
void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  if (x1 == x2 || y1 == y2) return;
  const double cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0;
  const double rx = (x2 - x1) / 2.0, ry = (y2 - y1) / 2.0;
  const double inset = penWidth_ / 2.0;
  cairo_new_path(cr_);
  AppendEllipse(cr_, cx, cy, rx, ry);
  if (rx <= inset || ry <= inset) {
    // The pen is wider than the ellipse: all of it is outline.
    UseColour(penColour_);
    cairo_fill(cr_);
    return;
  }
  UseColour(brushColour_);
  cairo_fill(cr_);
  AppendEllipse(cr_, cx, cy, rx - inset, ry - inset);
  StrokePath();
}

void TCanvas::Arc(int left, int top, int right, int bottom, int start, int sweep) {
  const double o = PenOffset();
  sweep = std::clamp(sweep, -360 * 16, 360 * 16);
  cairo_new_path(cr_);
  AppendArc(cr_, (left + right) / 2.0 + o, (top + bottom) / 2.0 + o, std::abs(right - left) / 2.0,
            std::abs(bottom - top) / 2.0, Radians(start), Radians(start + sweep));
  StrokePath();
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) {
  if (x2 - x1 <= 0 || y2 - y1 <= 0) return;
  --x2;
  --y2;
  cornerWidth = std::min(cornerWidth, x2 - x1);
  cornerHeight = std::min(cornerHeight, y2 - y1);
  const double o = PenOffset();
  cairo_new_path(cr_);
  if (cornerWidth <= 0 || cornerHeight <= 0) {
    cairo_rectangle(cr_, x1 + o, y1 + o, x2 - x1, y2 - y1);
  } else {
    // Each corner's quarter ellipse is inscribed in a corner box of the
    // corner size; cairo joins one quarter to the next with the straight
    // edge between them, and closing the path draws the left edge.
    const double rx = cornerWidth / 2.0, ry = cornerHeight / 2.0;
    const double left = x1 + o + rx, right = x2 + o - rx;
    const double top = y1 + o + ry, bottom = y2 + o - ry;
    AppendArc(cr_, left, top, rx, ry, kPi, kPi / 2);
    AppendArc(cr_, right, top, rx, ry, kPi / 2, 0);
    AppendArc(cr_, right, bottom, rx, ry, 0, -kPi / 2);
    AppendArc(cr_, left, bottom, rx, ry, -kPi / 2, -kPi);
    cairo_close_path(cr_);
  }
  FillPathThenStroke();
}

void TCanvas::FillRect(int x1, int y1, int x2, int y2) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  cairo_new_path(cr_);
  cairo_rectangle(cr_, x1, y1, x2 - x1, y2 - y1);
  UseColour(brushColour_);
  cairo_fill(cr_);
}
