#pragma once
// How closely recorded bytes kept their pauses, gathered over many runs of
// one command.

#include <vector>

#include "PacedBytes.h"
#include "RecordingPty.h"

struct TGapFigures {
  // Every gap between two bytes of a run minus the pause it should hold.
  std::vector<double> overshootMs;
  // Gaps below their pause, and how many of them a late stamp explains: the
  // byte before the gap was read late (together with the next byte, or after
  // a gap as much too long). The sender cannot make such a gap short; a
  // recorder that stalled can.
  int shortGaps = 0, shortAfterLateStamp = 0;
  // First byte to last, one value a run, and over the pauses between them.
  std::vector<double> lengthMs, lengthRatios;
  double innerPausesMs = 0;
  int runs = 0;
  // Runs whose bytes were not the command's (count, or values where known).
  int wrongRuns = 0;

  // `recorded` is what one run put on the line. Byte values are compared
  // only where `valuesKnown` (the configuration block comes from the entries).
  void AddRun(const std::vector<blackbox::TStampedByte>& recorded, const TPacedBytes& expected,
              bool valuesKnown);
};
