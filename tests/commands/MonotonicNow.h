// The time every real-clock test measures against, in nanoseconds.
#pragma once

#include <ctime>

inline long long MonotonicNowNs() {
  timespec t{};
  ::clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1000000000LL + t.tv_nsec;
}
