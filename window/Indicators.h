#pragma once
// The lamps, drawn at once onto the window's pixels of their panel of Form1,
// inside a repaint or outside one. A lamp keeps no state: its colour lives
// only in those pixels until the panel is next repainted.

#include "TColor.h"

// The four command lamps of Shape1.
constexpr int kWriteConfLampY = 15, kGpsSimulLampY = 55, kToneLampY = 95, kTxLampY = 135;
constexpr int kCommandLampX = 15;
// The beacon lamp of Shape4.
constexpr int kBeaconLampX = 39, kBeaconLampY = 9;

void DrawCommandIndicator(int x, int y, TColor colour);  // on Shape1
void DrawBeaconIndicator(int x, int y, TColor colour);   // on Shape4
void DrawAnalogIndicator(int x, int y, TColor colour);   // on Shape2
