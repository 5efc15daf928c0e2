// The rounded panels and the analog panel's white frame.

#include <gtest/gtest.h>

#include <cmath>

#include "PanelPainting.h"
#include "PixelSurface.h"

using namespace canvas_testing;

namespace {

struct PanelCase {
  const char* name;
  int width, height, corner;
};
void PrintTo(const PanelCase& p, std::ostream* os) { *os << p.name << " " << p.width << "x" << p.height; }

constexpr PanelCase kPanels[] = {{"Shape3", 368, 113, 28}, {"Shape4", 105, 180, 26},
                                 {"Shape1", 145, 180, 36}, {"Shape2", 105, 180, 26},
                                 {"Shape5", 369, 28, 7}};

TEST(PanelCornerSize, IsAQuarterOfTheSmallerSide) {
  for (const PanelCase& p : kPanels) EXPECT_EQ(PanelCornerSize(p.width, p.height), p.corner) << p.name;
  EXPECT_EQ(PanelCornerSize(3, 50), 0);
  EXPECT_EQ(PanelCornerSize(0, 50), 0);
}

// Painted with a margin round it, through a canvas at the panel's origin.
class PanelPainted : public ::testing::TestWithParam<PanelCase> {
 protected:
  static constexpr int kMargin = 4;
  const PanelCase panel = GetParam();
  PixelSurface surface{panel.width + 2 * kMargin, panel.height + 2 * kMargin};

  void SetUp() override {
    TCanvas canvas(surface.Context(), kMargin, kMargin, panel.width, panel.height);
    PaintPanel(canvas, panel.width, panel.height);
  }
  TColor At(int x, int y) { return surface.At(kMargin + x, kMargin + y); }
};

TEST_P(PanelPainted, IsOutlinedAlongItsOutermostPixels) {
  const int w = panel.width, h = panel.height, m = panel.corner / 2 + 1;
  for (int x = m; x < w - m; ++x) {
    ASSERT_EQ(At(x, 0), kBlack) << "top " << x;
    ASSERT_EQ(At(x, h - 1), kBlack) << "bottom " << x;
  }
  for (int y = m; y < h - m; ++y) {
    ASSERT_EQ(At(0, y), kBlack) << "left " << y;
    ASSERT_EQ(At(w - 1, y), kBlack) << "right " << y;
  }
}

TEST_P(PanelPainted, IsFilledWithThePanelColour) {
  const int w = panel.width, h = panel.height;
  for (int x = 1; x < w - 1; ++x) ASSERT_EQ(At(x, h / 2), kPanelColour) << x;
  for (int y = 1; y < h - 1; ++y) ASSERT_EQ(At(w / 2, y), kPanelColour) << y;
}

TEST_P(PanelPainted, LeavesEverythingOutsideItsRectangle) {
  for (int y = 0; y < surface.Height(); ++y)
    for (int x = 0; x < surface.Width(); ++x) {
      if (Inside({x, y}, kMargin, kMargin, panel.width, panel.height)) continue;
      ASSERT_EQ(surface.At(x, y), kBackground) << x << "," << y;
    }
}

// Each corner follows a quarter circle of the corner size: well outside it
// the background shows, well inside it the panel colour.
TEST_P(PanelPainted, HasRoundCornersOfItsCornerSize) {
  const int w = panel.width, h = panel.height, c = panel.corner;
  const double r = c / 2.0;
  for (int j = 0; j <= c / 2; ++j)
    for (int i = 0; i <= c / 2; ++i) {
      const double d = std::hypot(i - r, j - r);
      if (d > r - 1 && d < r + 1) continue;
      const TColor expected = d >= r + 1 ? kBackground : kPanelColour;
      for (TPoint p : {TPoint{i, j}, TPoint{w - 1 - i, j}, TPoint{i, h - 1 - j}, TPoint{w - 1 - i, h - 1 - j}})
        ASSERT_EQ(At(p.x, p.y), expected) << testing::PrintToString(p) << " d " << d;
    }
  EXPECT_EQ(At(0, 0), kBackground);
  EXPECT_EQ(At(w - 1, h - 1), kBackground);
}

INSTANTIATE_TEST_SUITE_P(Panels, PanelPainted, ::testing::ValuesIn(kPanels),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Panel, WithoutWidthOrHeightDrawsNothing) {
  for (TPoint size : {TPoint{0, 180}, TPoint{145, 0}, TPoint{-5, 20}}) {
    PixelSurface s(50, 50);
    const auto before = s.Snapshot();
    {
      TCanvas canvas(s.Context(), 50, 50);
      PaintPanel(canvas, size.x, size.y);
    }
    EXPECT_TRUE(ChangedPoints(before, s.Snapshot(), 50).empty()) << size.x << "x" << size.y;
  }
}

class AnalogFrame : public ::testing::Test {
 protected:
  void Paint(int w, int h) {
    TCanvas canvas(surface.Context(), w, h);
    PaintPanel(canvas, w, h);
    DrawAnalogFrame(canvas, w, h);
  }
  PixelSurface surface{160, 220};
};

TEST_F(AnalogFrame, IsAWhiteRoundedRectangleTenPixelsInside) {
  Paint(105, 180);
  for (int y = 25; y <= 155; ++y) {
    ASSERT_EQ(surface.At(10, y), kWhite) << "left " << y;
    ASSERT_EQ(surface.At(95, y), kWhite) << "right " << y;
  }
  for (int x = 25; x <= 80; ++x) {
    ASSERT_EQ(surface.At(x, 10), kWhite) << "top " << x;
    ASSERT_EQ(surface.At(x, 170), kWhite) << "bottom " << x;
  }
  int whiteInRow = 0;
  for (int x = 0; x < 105; ++x) whiteInRow += surface.At(x, 90) == kWhite;
  EXPECT_EQ(whiteInRow, 4) << "two edges, two pixels wide";
}

TEST_F(AnalogFrame, HasQuarterCirclesOfRadiusFifteenAtItsCorners) {
  Paint(105, 180);
  // 45 degrees round each corner's centre, and just outside and inside it.
  struct Corner {
    int cx, cy, dx, dy;
  } corners[] = {{25, 25, -1, -1}, {80, 25, 1, -1}, {25, 155, -1, 1}, {80, 155, 1, 1}};
  for (const Corner& c : corners) {
    auto at = [&](double radius) {
      const double s = radius / std::sqrt(2.0);
      return surface.At(int(std::floor(c.cx + c.dx * s)), int(std::floor(c.cy + c.dy * s)));
    };
    EXPECT_EQ(at(15), kWhite) << c.cx << "," << c.cy;
    EXPECT_EQ(at(18), kPanelColour) << c.cx << "," << c.cy << " outside";
    EXPECT_EQ(at(12), kPanelColour) << c.cx << "," << c.cy << " inside";
  }
  EXPECT_EQ(surface.At(52, 90), kPanelColour) << "inside the frame";
}

TEST_F(AnalogFrame, EdgesFollowThePanelButTheRightCornersStayPut) {
  Paint(125, 200);
  EXPECT_EQ(surface.At(115, 100), kWhite) << "right edge at W - 10";
  EXPECT_EQ(surface.At(95, 100), kPanelColour) << "not at 95";
  EXPECT_EQ(surface.At(100, 10), kWhite) << "top edge to W - 25";
  EXPECT_EQ(surface.At(100, 190), kWhite) << "bottom edge at H - 10";
  EXPECT_EQ(surface.At(14, 185), kWhite) << "bottom-left corner follows H";
  EXPECT_EQ(surface.At(90, 14), kWhite) << "top-right corner at 65..95";
  EXPECT_EQ(surface.At(90, 185), kWhite) << "bottom-right corner at 65..95";
}

}  // namespace
