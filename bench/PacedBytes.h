#pragma once
// A tracker command as the line sees it: its bytes in order, each with the
// pause that follows it before the next byte.

#include <cstdint>
#include <vector>

#include "CommandSequence.h"

struct TPacedByte {
  std::uint8_t byte = 0;
  int pauseAfterMs = 0;  // every pause up to the next byte (or the end)
};

struct TPacedBytes {
  int leadingPauseMs = 0;  // before the first byte ("TX" waits first)
  std::vector<TPacedByte> bytes;

  // The pauses between the first byte and the last: how long the line must
  // at least take from the one to the other.
  int64_t InnerPausesNs() const;
};

// Discards leave no trace on the line and are left out.
TPacedBytes PacedBytesOf(const CommandSequence& sequence);

// The floor to compare KORVA with: a thread that does nothing but write the
// bytes to `fd` and sleep to a deadline taken after each write
// (clock_nanosleep, TIMER_ABSTIME, 1 ns of timer slack), from the first byte
// on (the leading pause is the caller's).
struct TSleepLoopRun {
  std::vector<int64_t> writtenNs;  // MonotonicNs just before each write
  int64_t cpuNs = 0;               // the thread's CPU time for the run
};
TSleepLoopRun SendFromSleepLoop(int fd, const TPacedBytes& paced);
