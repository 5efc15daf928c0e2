#include "CommandSequence.h"

#include <utility>

CommandStep CommandStep::Send(std::vector<std::uint8_t> bytes, int pauseAfterEachMs) {
  CommandStep step;
  step.kind = Kind::Send;
  step.bytes = std::move(bytes);
  step.pauseMs = pauseAfterEachMs;
  return step;
}

CommandStep CommandStep::Discard() {
  CommandStep step;
  step.kind = Kind::Discard;
  return step;
}

CommandStep CommandStep::Pause(int ms) {
  CommandStep step;
  step.kind = Kind::Pause;
  step.pauseMs = ms;
  return step;
}
