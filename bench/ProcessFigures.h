#pragma once
// What /proc tells about a running process, summed over all its threads.

#include <cstdint>
#include <sys/types.h>

struct TProcessFigures {
  // CPU time from the scheduler's own account (schedstat), in nanoseconds.
  int64_t cpuNs = 0;
  // User + system time as /proc/<pid>/stat counts it, in clock ticks; the
  // coarse cross-check of cpuNs.
  int64_t cpuTicks = 0;
  // Voluntary and involuntary context switches: every time a thread went
  // to sleep or was put off the CPU, so every wake-up is one.
  int64_t contextSwitches = 0;
  int threads = 0;
  int64_t peakResidentKb = 0;  // VmHWM
};

// Zeros for a process that has gone.
TProcessFigures ReadProcessFigures(pid_t pid);

// Nanoseconds per tick of /proc/<pid>/stat.
int64_t NsPerClockTick();
