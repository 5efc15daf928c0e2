#include "TrackerCommands.h"

#include <iterator>

namespace {

using Bytes = std::vector<std::uint8_t>;
namespace Byte = TrackerCommandByte;

// The tracker takes the fields up to the beacon text at a shorter pace than
// the rest of the block.
constexpr int kHeadPauseMs = 20;
constexpr int kTailPauseMs = 25;

CommandSequence EscapeCommand(std::uint8_t command, int gapMs, int settleMs) {
  return {CommandStep::Send({Byte::Escape}), CommandStep::Pause(gapMs),
          CommandStep::Send({command}), CommandStep::Pause(settleMs)};
}

}  // namespace

CommandSequence Tone1200Command() { return EscapeCommand(Byte::Tone1200, 20, 500); }

CommandSequence Tone2400Command() { return EscapeCommand(Byte::Tone2400, 5, 500); }

// The only command that waits before its ESC.
CommandSequence TransmitCommand() {
  return {CommandStep::Pause(100), CommandStep::Send({Byte::Escape}), CommandStep::Pause(15),
          CommandStep::Send({Byte::Transmit}), CommandStep::Pause(1500)};
}

CommandSequence GpsSimulationCommand() {
  return {CommandStep::Discard(),
          CommandStep::Send(Bytes(std::begin(kSimulatedGpsSentence),
                                  std::begin(kSimulatedGpsSentence) + kSimulatedGpsSentenceLength)),
          CommandStep::Pause(500)};
}

CommandSequence WriteConfCommand(const std::array<std::uint8_t, ConfigBlockOffset::End>& block) {
  const auto tailStart = block.begin() + ConfigBlockOffset::Threshold;
  Bytes head{Byte::Escape, Byte::ConfigBlockFollows};
  head.insert(head.end(), block.begin(), tailStart);
  return {CommandStep::Discard(), CommandStep::Send(head, kHeadPauseMs),
          CommandStep::Send(Bytes(tailStart, block.end()), kTailPauseMs)};
}

CommandSequence WriteConfClosingCommand() { return {CommandStep::Discard()}; }
