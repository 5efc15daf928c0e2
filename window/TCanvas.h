#pragma once
// A panel's drawing surface: cairo underneath, the panel's own coordinates on
// top (0, 0 is the panel's top-left pixel), everything clipped to the
// panel's rectangle. Like the panels' canvas in the layout's toolkit it keeps
// a pen (colour, width, solid), a solid fill colour and a pen position from
// one call to the next, so a drawing can rely on what the previous call set.
//
// Pixels are crisp: nothing is anti-aliased, so every pixel drawn has
// exactly the pen's or the fill's colour. A pixel point (x, y) stands for
// the centre of pixel (x, y) under a pen of odd width and for its top-left
// corner under a pen of even width, so that a pen of width n along a row or
// a column covers exactly n rows or columns.

#include <cairo.h>

#include "TColor.h"

struct TPoint {
  int x, y;
  bool operator==(const TPoint& other) const { return x == other.x && y == other.y; }
};

class TCanvas {
 public:
  // `cr`'s user-space origin is the panel's top-left pixel.
  TCanvas(cairo_t* cr, int width, int height);
  // The panel's top-left pixel is (left, top) of `cr`'s user space, as when
  // drawing onto a whole window from outside a repaint.
  TCanvas(cairo_t* cr, int left, int top, int width, int height);
  // Leaves `cr` with the transformation, clip and settings it came with;
  // any path it held is dropped.
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }

  void SetPenColor(TColor colour) { penColour_ = colour; }
  // A width below 1 draws as 1.
  void SetPenWidth(int width) { penWidth_ = width < 1 ? 1 : width; }
  void SetBrushColor(TColor colour) { brushColour_ = colour; }
  TColor PenColor() const { return penColour_; }
  int PenWidth() const { return penWidth_; }
  TColor BrushColor() const { return brushColour_; }
  TPoint PenPos() const { return penPos_; }

  void MoveTo(int x, int y) { penPos_ = {x, y}; }
  // From the pen position; leaves the pen position at (x, y).
  void LineTo(int x, int y);
  void Line(int x1, int y1, int x2, int y2);

  // The ellipse inscribed in the box whose right and bottom edges are
  // exclusive, filled and then outlined with the pen just inside the box.
  void Ellipse(int x1, int y1, int x2, int y2);
  // The outline of part of the ellipse inscribed in the box, from `start`
  // over `sweep`, both in sixteenths of a degree counter-clockwise from
  // 3 o'clock (a negative sweep runs clockwise).
  void Arc(int left, int top, int right, int bottom, int start, int sweep);
  // Right and bottom exclusive: the outline runs along columns x1 and
  // x2 - 1 and rows y1 and y2 - 1, with quarter-ellipse corners of the given
  // size; filled, then outlined.
  void RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight);
  // The pixels x1..x2-1, y1..y2-1 in the fill colour, without an outline.
  void FillRect(int x1, int y1, int x2, int y2);

 private:
  double PenOffset() const;
  void UseColour(TColor colour);
  void StrokePath();
  void FillPathThenStroke();

  cairo_t* cr_;
  int width_, height_;
  TColor penColour_ = kBlack;
  int penWidth_ = 1;
  TColor brushColour_ = kWhite;
  TPoint penPos_ = {0, 0};
};
