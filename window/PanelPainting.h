#pragma once
// What the rounded panels and their lamps look like, drawn onto a panel's
// canvas. Where the canvas comes from (a repaint, or at once from a handler)
// is the caller's business.

#include "TCanvas.h"
#include "TColor.h"

// A lamp fills a square of this many pixels from its point.
constexpr int kIndicatorSize = 22;

// The corner size of a panel of the given size: a quarter of its smaller
// side.
int PanelCornerSize(int width, int height);

// The panel itself: black one-pixel outline with rounded corners along its
// outermost pixels, filled with the panel colour.
void PaintPanel(TCanvas& canvas, int width, int height);

// One lamp whose 22 x 22 square starts at (x, y): a black ring around a disc
// of `colour` with a short white highlight. Sets everything it uses, so it
// does not depend on what was drawn before.
void DrawIndicator(TCanvas& canvas, int x, int y, TColor colour);

// The analog panel's white frame, 10 pixels inside a panel of the given
// size, with corners of radius 15. The edges follow the size; the right-hand
// corners stand where they do on a panel 105 pixels wide.
void DrawAnalogFrame(TCanvas& canvas, int width, int height);
