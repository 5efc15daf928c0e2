#include "Indicators.h"

#include "PanelPainting.h"
#include "PanelSurface.h"
#include "TForm1.h"

namespace {

void DrawLamp(Gtk::Widget* panel, int x, int y, TColor colour) {
  DrawOnPanel(*panel, [=](TCanvas& canvas, int, int) { DrawIndicator(canvas, x, y, colour); });
}

}  // namespace

void DrawCommandIndicator(int x, int y, TColor colour) { DrawLamp(Form1->Shape1, x, y, colour); }
void DrawBeaconIndicator(int x, int y, TColor colour) { DrawLamp(Form1->Shape4, x, y, colour); }
void DrawAnalogIndicator(int x, int y, TColor colour) { DrawLamp(Form1->Shape2, x, y, colour); }
