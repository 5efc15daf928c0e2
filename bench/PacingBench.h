#pragma once
// KORVA's five commands on a recording line, run after run, each beside the
// same bytes from a bare sleep loop on a line of its own at the same moment.

#include <string>
#include <vector>

#include "GapFigures.h"
#include "Progress.h"

struct TCommandFigures {
  std::string name;        // the button's caption
  TGapFigures korva, floor;
  std::vector<double> cpuMs;      // KORVA's CPU time a run, from schedstat
  std::vector<double> cpuTickMs;  // the same from /proc/<pid>/stat's ticks
  std::vector<double> floorCpuMs; // the floor's thread for the same bytes
  // First byte to last, KORVA's run less the floor's that kept step with it.
  std::vector<double> lengthOverFloorMs;
  bool sent = false;              // the button put anything on the line at all
};

// "Write Conf." `writeConfRuns` times, each other command `commandRuns` times.
std::vector<TCommandFigures> MeasurePacing(int writeConfRuns, int commandRuns,
                                           const TProgress& progress);
