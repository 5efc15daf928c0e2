#include "PacedBytes.h"

#include <ctime>
#include <sys/prctl.h>
#include <unistd.h>

#include "MonotonicClock.h"

int64_t TPacedBytes::InnerPausesNs() const {
  int64_t total = 0;
  for (std::size_t i = 0; i + 1 < bytes.size(); ++i) total += bytes[i].pauseAfterMs;
  return total * 1000000;
}

TPacedBytes PacedBytesOf(const CommandSequence& sequence) {
  TPacedBytes paced;
  for (const CommandStep& step : sequence) {
    if (step.kind == CommandStep::Kind::Pause)
      (paced.bytes.empty() ? paced.leadingPauseMs : paced.bytes.back().pauseAfterMs) += step.pauseMs;
    if (step.kind == CommandStep::Kind::Send)
      for (std::uint8_t byte : step.bytes) paced.bytes.push_back({byte, step.pauseMs});
  }
  return paced;
}

namespace {

int64_t Ns(clockid_t clock) {
  timespec now{};
  ::clock_gettime(clock, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

}  // namespace

TSleepLoopRun SendFromSleepLoop(int fd, const TPacedBytes& paced) {
  ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
  TSleepLoopRun run;
  run.writtenNs.reserve(paced.bytes.size());
  const int64_t start = Ns(CLOCK_THREAD_CPUTIME_ID);
  MonotonicClock clock;
  for (const TPacedByte& next : paced.bytes) {
    run.writtenNs.push_back(Ns(CLOCK_MONOTONIC));
    if (::write(fd, &next.byte, 1) != 1) break;
    clock.Pause(next.pauseAfterMs);
  }
  run.cpuNs = Ns(CLOCK_THREAD_CPUTIME_ID) - start;
  return run;
}
