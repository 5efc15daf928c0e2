// A line and a clock that only write down what the runner does with them, in
// one shared trace: "27" for a send of byte 27, "D" for a discard, "+20" for
// a pause of 20 ms. The line stamps every event with the clock's time.
#pragma once

#include <cerrno>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "CommandClock.h"
#include "CommandRunner.h"
#include "TBlockSerial.h"

struct LineEvent {
  bool discard = false;
  int byte = 0;
  long atMs = 0;
};

class RecordingClock : public CommandClock {
 public:
  explicit RecordingClock(std::vector<std::string>* trace) : trace_(trace) {}
  void Pause(int ms) override {
    pauses.push_back(ms);
    nowMs += ms;
    trace_->push_back("+" + std::to_string(ms));
  }

  long nowMs = 0;
  std::vector<int> pauses;

 private:
  std::vector<std::string>* trace_;
};

class RecordingLine : public TBlockSerial {
 public:
  RecordingLine(std::vector<std::string>* trace, const RecordingClock* clock,
                std::string path = "/dev/recorded")
      : trace_(trace), clock_(clock) {
    DevicePath = std::move(path);
    DeviceOpen = true;
  }

  void SendOneByte(std::uint8_t byte) override {
    if (refuseAtSend >= 0 && static_cast<long>(sends.size()) == refuseAtSend) {
      SetCode(refusalCode);
      return;
    }
    sends.push_back(byte);
    events.push_back({false, byte, clock_->nowMs});
    trace_->push_back(std::to_string(byte));
    SetCode(0);
  }

  void DiscardBuffers() override {
    events.push_back({true, 0, clock_->nowMs});
    trace_->push_back("D");
    SetCode(discardCode);
  }

  // The n-th send (from 0) fails with refusalCode and is not recorded; -1: none.
  long refuseAtSend = -1;
  int refusalCode = EIO;
  int discardCode = 0;

  std::vector<std::uint8_t> sends;
  std::vector<LineEvent> events;

 private:
  void SetCode(int code) {
    LastErrorCode = code;
    LastErrorText = GetErrorDesc(code);
  }

  std::vector<std::string>* trace_;
  const RecordingClock* clock_;
};

// A runner wired to one recording line and clock.
struct Recorded {
  Recorded() : clock(&trace), line(&trace, &clock), runner([this] { return &line; }, clock) {}
  std::vector<std::string> trace;
  RecordingClock clock;
  RecordingLine line;
  CommandRunner runner;
};

inline std::string Joined(const std::vector<std::string>& trace) {
  std::string text;
  for (const std::string& token : trace) text += (text.empty() ? "" : " ") + token;
  return text;
}

// The trace tokens of bytes sent back to back.
inline std::string SendTokens(const std::string& bytes) {
  std::vector<std::string> tokens;
  for (unsigned char c : bytes) tokens.push_back(std::to_string(c));
  return Joined(tokens);
}
