// The lamps: a black ring around a coloured disc with a white highlight,
// inside their 22 x 22 square, the last colour drawn covering the earlier.

#include <gtest/gtest.h>

#include "PanelPainting.h"
#include "PixelSurface.h"

using namespace canvas_testing;

namespace {

constexpr int kW = 145, kH = 180;  // the command panel

// A freshly painted command panel to draw lamps on.
class LampOnPanel : public ::testing::Test {
 protected:
  PixelSurface surface{kW, kH};
  TCanvas canvas{surface.Context(), kW, kH};

  void SetUp() override { PaintPanel(canvas, kW, kH); }

  // The pixels of the lamp's square, row by row.
  std::vector<TColor> Square(int x, int y) {
    std::vector<TColor> pixels;
    for (int j = y; j < y + kIndicatorSize; ++j)
      for (int i = x; i < x + kIndicatorSize; ++i) pixels.push_back(surface.At(i, j));
    return pixels;
  }
};

TEST_F(LampOnPanel, IsABlackRingTwoPixelsWideAroundItsColour) {
  DrawIndicator(canvas, 15, 15, kYellow);
  EXPECT_EQ(surface.At(26, 26), kYellow) << "centre";
  EXPECT_EQ(surface.At(16, 26), kBlack) << "ring";
  EXPECT_EQ(surface.At(15, 15), kPanelColour) << "corner of the square";
  for (int x : {15, 16, 35, 36}) EXPECT_EQ(surface.At(x, 26), kBlack) << x;
  for (int x : {17, 34}) EXPECT_EQ(surface.At(x, 26), kYellow) << x;
  for (int y : {15, 16, 35, 36}) EXPECT_EQ(surface.At(26, y), kBlack) << y;
  EXPECT_EQ(surface.At(14, 26), kPanelColour);
  EXPECT_EQ(surface.At(37, 26), kPanelColour);
}

TEST_F(LampOnPanel, HasAWhiteHighlightRisingToTheRight) {
  DrawIndicator(canvas, 15, 15, kGrey);
  for (TPoint p : {TPoint{21, 25}, TPoint{22, 23}, TPoint{24, 21}})
    EXPECT_EQ(surface.At(p.x, p.y), kWhite) << testing::PrintToString(p);
  EXPECT_EQ(surface.At(24, 25), kGrey) << "below the stroke";
  EXPECT_EQ(surface.At(21, 21), kGrey) << "above the stroke";
  // Two pixels wide: each row it crosses holds two or three of its pixels.
  for (int j = 0; j < kIndicatorSize; ++j) {
    int white = 0;
    for (int i = 0; i < kIndicatorSize; ++i) white += surface.At(15 + i, 15 + j) == kWhite;
    if (j >= 5 && j <= 10)
      EXPECT_TRUE(white == 2 || white == 3) << "row " << j << ": " << white;
    else
      EXPECT_EQ(white, 0) << "row " << j;
  }
}

// A lamp drawn over another looks exactly as one drawn on the bare panel.
TEST_F(LampOnPanel, TheLastColourDrawnCoversTheFirstCompletely) {
  DrawIndicator(canvas, 15, 55, kGrey);
  DrawIndicator(canvas, 15, 55, kGreen);
  const auto overdrawn = Square(15, 55);
  for (TColor c : overdrawn) ASSERT_NE(c, kGrey);

  PixelSurface other(kW, kH);
  TCanvas otherCanvas(other.Context(), kW, kH);
  PaintPanel(otherCanvas, kW, kH);
  DrawIndicator(otherCanvas, 15, 55, kGreen);
  for (int j = 0; j < kIndicatorSize; ++j)
    for (int i = 0; i < kIndicatorSize; ++i)
      ASSERT_EQ(overdrawn[j * kIndicatorSize + i], other.At(15 + i, 55 + j)) << i << "," << j;
}

struct LampCase {
  int x, y;
  TColor colour;
};
void PrintTo(const LampCase& c, std::ostream* os) {
  *os << "(" << c.x << ", " << c.y << ") in 0x" << std::hex << c.colour;
}

class LampSquare : public LampOnPanel, public ::testing::WithParamInterface<LampCase> {};

TEST_P(LampSquare, NothingOutsideItsSquareChanges) {
  const LampCase c = GetParam();
  const auto before = surface.Snapshot();
  DrawIndicator(canvas, c.x, c.y, c.colour);
  const auto changed = ChangedPoints(before, surface.Snapshot(), kW);
  EXPECT_FALSE(changed.empty());
  for (TPoint p : changed)
    ASSERT_TRUE(Inside(p, c.x, c.y, kIndicatorSize, kIndicatorSize)) << testing::PrintToString(p);
}

INSTANTIATE_TEST_SUITE_P(Lamps, LampSquare,
                         ::testing::Values(LampCase{15, 15, kYellow}, LampCase{15, 55, kDarkYellow},
                                           LampCase{15, 95, kGrey}, LampCase{15, 135, kMagenta},
                                           LampCase{39, 9, kGreen}, LampCase{39, 72, kGrey},
                                           LampCase{0, 0, kWhite}, LampCase{100, 3, kBlack}));

}  // namespace
