#pragma once
// Start-up time and peak memory of KORVA beside a bare gtkmm-2.4 window,
// measured in the same run.

#include <vector>

#include "Progress.h"

struct TStartUpFigures {
  std::vector<double> startMs;  // exec to first paint, one a start
  std::vector<double> peakKb;   // VmHWM at first paint, one a start
  int failed = 0;               // starts that showed no window
};

// `runs` starts of each program, taken in turns so both meet the same noise,
// after one start each that warms the caches and is not counted.
void MeasureStartUps(int runs, TStartUpFigures& korva, TStartUpFigures& bare,
                     const TProgress& progress);
