// Runs a tracker command against whatever line the port state holds at each
// moment, pausing on a clock. Like the serial line, it throws nothing: a byte
// the line refuses ends the command and comes back in the outcome.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "CommandClock.h"
#include "CommandSequence.h"
#include "TBlockSerial.h"

// The line a send or discard goes to right now; null when there is none.
// Asked afresh for every one of them, because a handler that ran while the
// window's events were processed may have replaced or closed the line.
using CurrentLine = std::function<TBlockSerial*()>;

struct CommandOutcome {
  // False: every step ran. True: the byte below was refused, nothing after it
  // was sent and no pause after it was kept.
  bool stopped = false;
  // Its place among the command's sends, from 0: the number of bytes that
  // were handed over before it.
  std::size_t byteIndex = 0;
  std::uint8_t byte = 0;
  // The line's LastErrorCode after the refused send: an errno such as EIO
  // for a device that is gone, or TBlockSerial::ErrNotConnected when there
  // was no open line to send on.
  int errorCode = 0;
  std::string errorText;  // TBlockSerial::GetErrorDesc(errorCode)
  std::string device;     // the refusing line's DevicePath; empty without a line

  // The command met a line that was closed (or none at all), most likely by a
  // handler that ran in the event step; the rest of it went nowhere. Not a
  // device fault: there is nothing left to close.
  bool LineClosed() const { return stopped && errorCode == TBlockSerial::ErrNotConnected; }
};

class CommandRunner {
 public:
  // The clock must outlive the runner.
  CommandRunner(CurrentLine currentLine, CommandClock& clock);

  // Executes the steps in order. A discard that fails is ignored (the line
  // keeps its code); a send that leaves LastErrorCode other than 0 stops the
  // run there.
  CommandOutcome Run(const CommandSequence& sequence) const;

 private:
  TBlockSerial* Line() const;
  // False, with the outcome filled in, when the line refused the byte.
  bool Send(std::uint8_t byte, std::size_t index, CommandOutcome* outcome) const;

  CurrentLine currentLine_;
  CommandClock& clock_;
};
