#pragma once
// How closely recorded bytes kept their pauses, gathered over many runs of
// one command.

#include <vector>

#include "PacedBytes.h"
#include "RecordingPty.h"

struct TGapFigures {
  // Every gap between two bytes of a run minus the pause it should hold.
  std::vector<double> overshootMs;
  // Gaps below their pause. A late stamp explains one where the byte before
  // it was read together with the next, or where the time from some earlier
  // byte of the run to the next byte holds all the pauses between them (the
  // byte before the gap came late, not the next one early). The sender
  // cannot make such a gap short; a recorder that stalled can. What the
  // others fell short by:
  int shortGaps = 0;
  std::vector<double> unexplainedShortfallsMs;
  // How late the recorder stamped a byte, where the writer noted its writes
  // (the floor's); the worst of all runs.
  double worstStampLagMs = 0;
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
  // The same for a run whose writes were timed by the writer.
  void AddRun(const std::vector<blackbox::TStampedByte>& recorded, const TPacedBytes& expected,
              const std::vector<int64_t>& writtenNs);
};
