#include "PacedBytes.h"

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

void SendFromSleepLoop(int fd, const TPacedBytes& paced) {
  ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
  MonotonicClock clock;
  clock.Pause(paced.leadingPauseMs);
  for (const TPacedByte& next : paced.bytes) {
    if (::write(fd, &next.byte, 1) != 1) return;
    clock.Pause(next.pauseAfterMs);
  }
}
