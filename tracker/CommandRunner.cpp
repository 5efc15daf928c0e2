#include "CommandRunner.h"

#include <utility>

CommandRunner::CommandRunner(CurrentLine currentLine, CommandClock& clock)
    : currentLine_(std::move(currentLine)), clock_(clock) {}

TBlockSerial* CommandRunner::Line() const { return currentLine_ ? currentLine_() : nullptr; }

CommandOutcome CommandRunner::Run(const CommandSequence& sequence) const {
  CommandOutcome outcome;
  std::size_t sent = 0;
  for (const CommandStep& step : sequence) {
    if (step.kind == CommandStep::Kind::Pause) {
      clock_.Pause(step.pauseMs);
    } else if (step.kind == CommandStep::Kind::Discard) {
      if (TBlockSerial* line = Line()) line->DiscardBuffers();
    } else {
      for (std::uint8_t byte : step.bytes) {
        if (!Send(byte, sent, &outcome)) return outcome;
        ++sent;
        // Counted from here, after the byte was handed over.
        if (step.pauseMs > 0) clock_.Pause(step.pauseMs);
      }
    }
  }
  return outcome;
}

bool CommandRunner::Send(std::uint8_t byte, std::size_t index, CommandOutcome* outcome) const {
  TBlockSerial* line = Line();
  int code = TBlockSerial::ErrNotConnected;
  if (line != nullptr) {
    line->SendOneByte(byte);
    code = line->LastErrorCode;
  }
  if (code == 0) return true;
  outcome->stopped = true;
  outcome->byteIndex = index;
  outcome->byte = byte;
  outcome->errorCode = code;
  outcome->errorText = TBlockSerial::GetErrorDesc(code);
  if (line != nullptr) outcome->device = line->DevicePath;
  return false;
}
