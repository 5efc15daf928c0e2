// A picture of the window's panels with their lamps and the analog frame, as
// the layout places them, for a person to look at.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "PanelPainting.h"
#include "PixelSurface.h"

using namespace canvas_testing;

namespace {

TEST(Picture, OfThePanelsWithTheirLamps) {
  PixelSurface s(387, 368, 0xD6D6D6);
  struct Panel {
    int left, top, width, height;
  } shape3{8, 13, 368, 113}, shape4{8, 136, 105, 180}, shape1{120, 136, 145, 180},
      shape2{272, 136, 105, 180}, shape5{8, 323, 369, 28};
  for (const Panel& p : {shape2, shape4, shape3, shape5, shape1}) {
    TCanvas canvas(s.Context(), p.left, p.top, p.width, p.height);
    PaintPanel(canvas, p.width, p.height);
  }
  {
    TCanvas canvas(s.Context(), shape1.left, shape1.top, shape1.width, shape1.height);
    const TColor colours[] = {kYellow, kDarkYellow, kYellow, kMagenta};
    for (int i = 0; i < 4; ++i) DrawIndicator(canvas, 15, 15 + 40 * i, colours[i]);
  }
  {
    TCanvas canvas(s.Context(), shape4.left, shape4.top, shape4.width, shape4.height);
    DrawIndicator(canvas, 39, 9, kGreen);
  }
  {
    TCanvas canvas(s.Context(), shape2.left, shape2.top, shape2.width, shape2.height);
    DrawAnalogFrame(canvas, shape2.width, shape2.height);
    DrawIndicator(canvas, shape2.width / 2 - 13, shape2.height / 2 - 18, kGrey);
  }
  EXPECT_EQ(s.At(135 + 11, 271 + 11), kMagenta) << "TX lamp at its window point";
  EXPECT_EQ(s.At(311 + 11, 208 + 11), kGrey) << "analog lamp at its window point";
  const std::string path = s.SavePng("panels");
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0) << path;
  EXPECT_GT(info.st_size, 0);
  std::cout << "picture: " << path << "\n";
}

}  // namespace
