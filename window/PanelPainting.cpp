#include "PanelPainting.h"

#include <algorithm>

namespace {

constexpr int kPanelPenWidth = 1;

struct TPanelRect {
  int left, top, right, bottom;
};

// The rectangle a panel's outline is drawn over, for its pen: the pen stays
// inside the panel whatever its width.
TPanelRect PanelRect(int width, int height, int penWidth) {
  const int inset = penWidth / 2, outset = (penWidth - 1) / 2;
  return {inset, inset, width - outset, height - outset};
}

int CornerSizeOf(const TPanelRect& r) {
  return std::min(r.right - r.left, r.bottom - r.top) / 4;
}

void SetPenAndFill(TCanvas& canvas, int penWidth, TColor colour) {
  canvas.SetPenWidth(penWidth);
  canvas.SetPenColor(colour);
  canvas.SetBrushColor(colour);
}

}  // namespace

int PanelCornerSize(int width, int height) {
  return CornerSizeOf(PanelRect(width, height, kPanelPenWidth));
}

void PaintPanel(TCanvas& canvas, int width, int height) {
  canvas.SetPenColor(kBlack);
  canvas.SetPenWidth(kPanelPenWidth);
  canvas.SetBrushColor(kPanelColour);
  const TPanelRect r = PanelRect(width, height, canvas.PenWidth());
  const int corner = CornerSizeOf(r);
  canvas.RoundRect(r.left, r.top, r.right, r.bottom, corner, corner);
}

void DrawIndicator(TCanvas& canvas, int x, int y, TColor colour) {
  SetPenAndFill(canvas, 1, kBlack);
  canvas.Ellipse(x, y, x + kIndicatorSize, y + kIndicatorSize);
  SetPenAndFill(canvas, 1, colour);
  canvas.Ellipse(x + 2, y + 2, x + kIndicatorSize - 2, y + kIndicatorSize - 2);
  SetPenAndFill(canvas, 2, kWhite);
  canvas.Line(x + 6, y + 10, x + 9, y + 6);
}

void DrawAnalogFrame(TCanvas& canvas, int width, int height) {
  const int w = width, h = height;
  SetPenAndFill(canvas, 2, kWhite);
  canvas.Line(25, 10, w - 25, 10);
  canvas.Arc(10, 10, 40, 40, 1440, 1440);
  canvas.Arc(65, 10, 95, 40, 0, 1440);
  canvas.Arc(10, h - 40, 40, h - 10, 2880, 1440);
  canvas.Line(25, h - 10, w - 25, h - 10);
  canvas.Arc(65, h - 40, 95, h - 10, 4320, 1440);
  canvas.Line(10, 25, 10, h - 25);
  canvas.Line(w - 10, 25, w - 10, h - 25);
}
