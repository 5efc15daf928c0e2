#include "MonotonicClock.h"

#include <cerrno>
#include <ctime>
#include <sys/prctl.h>

namespace {

timespec Later(timespec t, int ms) {
  constexpr long kNanosPerSecond = 1000000000L;
  t.tv_sec += ms / 1000;
  t.tv_nsec += static_cast<long>(ms % 1000) * 1000000L;
  if (t.tv_nsec >= kNanosPerSecond) {
    t.tv_sec += 1;
    t.tv_nsec -= kNanosPerSecond;
  }
  return t;
}

}  // namespace

void MonotonicClock::Pause(int ms) {
  if (ms <= 0) return;
  timespec deadline{};
  ::clock_gettime(CLOCK_MONOTONIC, &deadline);
  deadline = Later(deadline, ms);
  // An absolute deadline: a signal that wakes us early sends us back to sleep
  // for exactly what is left, however often it comes.
  while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
  }
}

bool UseExactTimerSlack() { return ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL) == 0; }
