// The real pauses: the calling thread sleeps to a deadline on CLOCK_MONOTONIC.
// No thread, no timer, no busy wait; a signal cannot shorten a pause, and a
// change of the wall clock cannot either.
#pragma once

#include "CommandClock.h"

class MonotonicClock final : public CommandClock {
 public:
  // The deadline is taken on entry, so a pause called right after a byte was
  // handed to the line counts from that moment.
  void Pause(int ms) override;
};

// Lets the kernel wake the calling thread at its deadlines instead of
// gathering the wake-up with others up to the thread's timer slack later.
// Pacing stays correct without it (pauses only grow), but the tracker's
// bytes then come late. False when the kernel refused.
bool UseExactTimerSlack();
