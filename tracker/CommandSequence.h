// A tracker command as data: what goes on the line, in order, and how long
// the line is left alone after each part. The runner executes it; nothing in
// here touches a device.
#pragma once

#include <cstdint>
#include <vector>

struct CommandStep {
  enum class Kind { Send, Discard, Pause };

  // Each byte a send of its own, with pauseAfterEachMs after every one of
  // them (0: back to back).
  static CommandStep Send(std::vector<std::uint8_t> bytes, int pauseAfterEachMs = 0);
  // Drop both queues of the line: unread input and output not yet sent.
  static CommandStep Discard();
  static CommandStep Pause(int ms);

  Kind kind = Kind::Pause;
  std::vector<std::uint8_t> bytes;
  int pauseMs = 0;  // Pause: its length; Send: the pause after each byte
};

using CommandSequence = std::vector<CommandStep>;
