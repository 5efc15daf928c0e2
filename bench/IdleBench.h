#pragma once
// What KORVA costs while it waits: its wake-ups beside a bare gtkmm-2.4
// window's, both left alone after the focus came to them.

#include <cstdint>

#include "Progress.h"

struct TIdleFigures {
  bool shown = false;
  int threads = 0;
  // Context switches over all threads: while the entry's cursor still
  // blinks, and over the idle time after it has stopped.
  int64_t whileBlinking = 0, idle = 0;
};

constexpr int kBlinkingSeconds = 2, kIdleSeconds = 10;

// Both programs side by side, each with the keyboard focus in its window.
void MeasureIdle(TIdleFigures& korva, TIdleFigures& bare, const TProgress& progress);
