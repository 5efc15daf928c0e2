// The canvas primitives on their own: colours, boxes, pens, arcs, rounded
// rectangles, clipping and the panel's origin.

#include <gtest/gtest.h>

#include <cairo.h>

#include <set>

#include "PanelPainting.h"
#include "PixelSurface.h"
#include "TCanvas.h"

using namespace canvas_testing;

namespace {

constexpr TColor kPen = 0x0000FF, kBrush = 0x00FF00;

TEST(Colour, RedIsTheLowByteAndBlueTheHighOne) {
  struct Case {
    TColor colour;
    uint32_t stored;  // as cairo stores it: 0x00RRGGBB
  } cases[] = {{kYellow, 0xFFFF00}, {kPanelColour, 0x38473F}, {kDarkYellow, 0xD7D700},
               {kMagenta, 0xFF00FF}, {0x0000FF, 0xFF0000}};
  for (const Case& c : cases) {
    PixelSurface s(4, 4);
    TCanvas canvas(s.Context(), 4, 4);
    canvas.SetBrushColor(c.colour);
    canvas.FillRect(0, 0, 4, 4);
    EXPECT_EQ(s.RawAt(1, 1), c.stored) << std::hex << c.colour;
  }
}

// Every pixel drawn has exactly the pen's or the fill's colour.
TEST(Canvas, DrawsNoBlendedPixels) {
  PixelSurface s(60, 60);
  {
    TCanvas canvas(s.Context(), 60, 60);
    canvas.SetPenColor(kPen);
    canvas.SetBrushColor(kBrush);
    canvas.Ellipse(3, 4, 41, 29);
    canvas.SetPenWidth(2);
    canvas.Arc(10, 10, 55, 50, 300, 2000);
    canvas.Line(0, 59, 50, 31);
    canvas.RoundRect(30, 30, 58, 58, 15, 9);
  }
  for (TColor c : s.Snapshot()) ASSERT_TRUE(c == kPen || c == kBrush || c == kBackground) << c;
}

TEST(Canvas, EllipseCoversItsBoxWithRightAndBottomExclusive) {
  struct Box {
    int x1, y1, x2, y2, pen;
  } boxes[] = {{10, 10, 32, 32, 1}, {5, 8, 26, 15, 1}, {4, 6, 9, 11, 1},
               {12, 3, 30, 21, 3}, {20, 20, 21, 21, 1}, {30, 20, 3, 2, 1}};
  for (const Box& b : boxes) {
    PixelSurface s(40, 40);
    const auto before = s.Snapshot();
    {
      TCanvas canvas(s.Context(), 40, 40);
      canvas.SetPenColor(kPen);
      canvas.SetPenWidth(b.pen);
      canvas.SetBrushColor(kBrush);
      canvas.Ellipse(b.x1, b.y1, b.x2, b.y2);
    }
    const int left = std::min(b.x1, b.x2), right = std::max(b.x1, b.x2) - 1;
    const int top = std::min(b.y1, b.y2), bottom = std::max(b.y1, b.y2) - 1;
    for (TPoint p : ChangedPoints(before, s.Snapshot(), 40))
      ASSERT_TRUE(Inside(p, left, top, right - left + 1, bottom - top + 1))
          << testing::PrintToString(p) << " box " << b.x1 << "," << b.y1;
    const int midX = (left + right) / 2, midY = (top + bottom) / 2;
    for (TPoint p : {TPoint{left, midY}, TPoint{right, midY}, TPoint{midX, top}, TPoint{midX, bottom}})
      EXPECT_EQ(s.At(p.x, p.y), kPen) << testing::PrintToString(p) << " box " << b.x1 << "," << b.y1;
    if (right - left >= 2 * b.pen + 2 && bottom - top >= 2 * b.pen + 2) {
      EXPECT_EQ(s.At(midX, midY), kBrush) << "box " << b.x1 << "," << b.y1;
    }
  }
}

TEST(Canvas, LineToStartsAtThePenPositionAndLeavesItAtItsEnd) {
  PixelSurface s(30, 30);
  TCanvas canvas(s.Context(), 30, 30);
  canvas.SetPenColor(kPen);
  canvas.Line(2, 5, 20, 5);
  EXPECT_EQ(canvas.PenPos(), (TPoint{20, 5}));
  canvas.LineTo(20, 25);
  EXPECT_EQ(canvas.PenPos(), (TPoint{20, 25}));
  canvas.MoveTo(3, 27);
  EXPECT_EQ(canvas.PenPos(), (TPoint{3, 27}));
  for (int x = 2; x <= 20; ++x) EXPECT_EQ(s.At(x, 5), kPen) << x;
  for (int y = 5; y <= 25; ++y) EXPECT_EQ(s.At(20, y), kPen) << y;
  EXPECT_EQ(s.At(10, 6), kBackground);
  EXPECT_EQ(s.At(3, 27), kBackground) << "moving draws nothing";
}

TEST(Canvas, APenOfWidthNCoversNRowsIncludingItsOwn) {
  for (int width : {1, 2, 3, 4}) {
    PixelSurface s(30, 30);
    {
      TCanvas canvas(s.Context(), 30, 30);
      canvas.SetPenColor(kPen);
      canvas.SetPenWidth(width);
      canvas.Line(5, 15, 25, 15);
    }
    int rows = 0;
    for (int y = 0; y < 30; ++y) rows += s.At(15, y) == kPen;
    EXPECT_EQ(rows, width);
    EXPECT_EQ(s.At(15, 15), kPen) << width;
  }
}

// The 45-degree point of each quarter of the circle over (10, 10)-(40, 40).
enum Quarter { kTopRight, kTopLeft, kBottomLeft, kBottomRight };
constexpr TPoint kQuarterPoints[] = {{35, 14}, {14, 14}, {14, 35}, {35, 35}};

TEST(Canvas, ArcRunsCounterClockwiseFromThreeOClockInSixteenthsOfADegree) {
  struct Case {
    int start, sweep;
    std::set<Quarter> lit;
  } cases[] = {{0, 1440, {kTopRight}},        {1440, 1440, {kTopLeft}},
               {2880, 1440, {kBottomLeft}},   {4320, 1440, {kBottomRight}},
               {0, -1440, {kBottomRight}},    {1440, -1440, {kTopRight}},
               {360, 2880, {kTopRight, kTopLeft}}, {0, 5760, {kTopRight, kTopLeft, kBottomLeft, kBottomRight}}};
  for (const Case& c : cases) {
    PixelSurface s(50, 50);
    {
      TCanvas canvas(s.Context(), 50, 50);
      canvas.SetPenColor(kPen);
      canvas.SetBrushColor(kBrush);
      canvas.SetPenWidth(2);
      canvas.Arc(10, 10, 40, 40, c.start, c.sweep);
    }
    for (Quarter q : {kTopRight, kTopLeft, kBottomLeft, kBottomRight}) {
      const TPoint p = kQuarterPoints[q];
      EXPECT_EQ(s.At(p.x, p.y), c.lit.count(q) ? kPen : kBackground)
          << "start " << c.start << " sweep " << c.sweep << " quarter " << q;
    }
    EXPECT_EQ(s.At(25, 25), kBackground) << "an arc is not filled";
  }
}

TEST(Canvas, RoundRectWithoutWidthOrHeightDrawsNothing) {
  struct Box {
    int x1, y1, x2, y2;
  } boxes[] = {{5, 5, 5, 20}, {5, 5, 20, 5}, {10, 10, 4, 20}, {10, 10, 20, 4}};
  for (const Box& b : boxes) {
    PixelSurface s(30, 30);
    const auto before = s.Snapshot();
    {
      TCanvas canvas(s.Context(), 30, 30);
      canvas.RoundRect(b.x1, b.y1, b.x2, b.y2, 4, 4);
    }
    EXPECT_TRUE(ChangedPoints(before, s.Snapshot(), 30).empty()) << b.x1 << "," << b.y1 << "," << b.x2;
  }
}

TEST(Canvas, RoundRectWithoutCornerIsAPlainRectangle) {
  for (int corner : {0, -3}) {
    PixelSurface s(20, 20);
    const auto before = s.Snapshot();
    {
      TCanvas canvas(s.Context(), 20, 20);
      canvas.SetPenColor(kPen);
      canvas.SetBrushColor(kBrush);
      canvas.RoundRect(2, 3, 12, 10, corner, corner);
    }
    for (TPoint p : {TPoint{2, 3}, TPoint{11, 3}, TPoint{2, 9}, TPoint{11, 9}, TPoint{6, 3}, TPoint{2, 6}})
      EXPECT_EQ(s.At(p.x, p.y), kPen) << testing::PrintToString(p);
    EXPECT_EQ(s.At(6, 6), kBrush);
    for (TPoint p : ChangedPoints(before, s.Snapshot(), 20))
      EXPECT_TRUE(Inside(p, 2, 3, 10, 7)) << testing::PrintToString(p);
  }
}

TEST(Canvas, RoundRectCornerIsCutToTheRectangle) {
  PixelSurface s(20, 20);
  const auto before = s.Snapshot();
  {
    TCanvas canvas(s.Context(), 20, 20);
    canvas.SetPenColor(kPen);
    canvas.SetBrushColor(kBrush);
    canvas.RoundRect(0, 0, 15, 15, 100, 100);  // corners of 14: a circle
  }
  EXPECT_EQ(s.At(0, 0), kBackground);
  EXPECT_EQ(s.At(1, 1), kBackground);
  EXPECT_EQ(s.At(2, 2), kPen) << "on the circle of radius 7";
  EXPECT_EQ(s.At(7, 0), kPen);
  EXPECT_EQ(s.At(14, 7), kPen);
  EXPECT_EQ(s.At(7, 7), kBrush);
  for (TPoint p : ChangedPoints(before, s.Snapshot(), 20))
    EXPECT_TRUE(Inside(p, 0, 0, 15, 15)) << testing::PrintToString(p);
}

TEST(Canvas, DrawsNothingOutsideThePanel) {
  PixelSurface s(200, 240);
  const auto before = s.Snapshot();
  {
    TCanvas canvas(s.Context(), 20, 20, 145, 180);
    PaintPanel(canvas, 145, 180);
    DrawIndicator(canvas, 140, 170, kYellow);
    canvas.SetPenWidth(7);
    canvas.Line(-10, 90, 300, 90);
    canvas.Ellipse(-50, -50, 400, 400);
  }
  for (TPoint p : ChangedPoints(before, s.Snapshot(), 200))
    ASSERT_TRUE(Inside(p, 20, 20, 145, 180)) << testing::PrintToString(p);
}

TEST(Canvas, ALampCutByThePanelEdgeShowsItsVisiblePart) {
  PixelSurface s(200, 240);
  const auto before = s.Snapshot();
  {
    TCanvas canvas(s.Context(), 20, 20, 145, 180);
    PaintPanel(canvas, 145, 180);
    DrawIndicator(canvas, 140, 170, kYellow);
  }
  EXPECT_EQ(s.At(20 + 144, 20 + 179), kYellow) << "the panel's last pixel, inside the lamp";
  EXPECT_EQ(s.At(20 + 140, 20 + 179), kBlack) << "the lamp's ring";
  for (TPoint p : ChangedPoints(before, s.Snapshot(), 200))
    ASSERT_TRUE(Inside(p, 20, 20, 145, 180)) << testing::PrintToString(p);
}

TEST(Canvas, DrawsAtThePanelsOriginOnALargerSurface) {
  PixelSurface s(400, 360);
  {
    TCanvas canvas(s.Context(), 120, 136, 145, 180);
    PaintPanel(canvas, 145, 180);
    DrawIndicator(canvas, 15, 15, kYellow);
  }
  EXPECT_EQ(s.At(120 + 26, 136 + 26), kYellow) << "lamp centre";
  EXPECT_EQ(s.At(120 + 16, 136 + 26), kBlack) << "lamp ring";
  EXPECT_EQ(s.At(120 + 15, 136 + 15), kPanelColour) << "lamp square's corner";
  EXPECT_EQ(s.At(120, 136), kBackground) << "rounded corner";
  EXPECT_EQ(s.At(120, 136 + 90), kBlack) << "left edge";
  EXPECT_EQ(s.At(120 + 144, 136 + 90), kBlack) << "right edge";
  EXPECT_EQ(s.At(120 + 72, 136 + 179), kBlack) << "bottom edge";
  EXPECT_EQ(s.At(119, 136 + 90), kBackground);
  EXPECT_EQ(s.At(120 + 145, 136 + 90), kBackground);
  EXPECT_EQ(s.At(120 + 72, 136 + 180), kBackground);
}

TEST(Canvas, HandsTheContextBackAsItCame) {
  PixelSurface s(50, 40);
  cairo_t* cr = s.Context();
  cairo_move_to(cr, 1, 1);
  {
    TCanvas canvas(cr, 10, 5, 20, 20);
    canvas.SetPenWidth(3);
    canvas.Line(0, 0, 19, 19);
  }
  EXPECT_EQ(cairo_get_antialias(cr), CAIRO_ANTIALIAS_DEFAULT);
  EXPECT_EQ(cairo_get_line_width(cr), 2.0);
  double x = 0, y = 0;
  cairo_user_to_device(cr, &x, &y);
  EXPECT_EQ(x, 0.0);
  EXPECT_EQ(y, 0.0);
  double x1, y1, x2, y2;
  cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
  EXPECT_EQ(x2 - x1, 50.0);
  EXPECT_EQ(y2 - y1, 40.0);
}

}  // namespace
