// What a command waits on between its bytes. The pauses are the tracker's
// timing, so the runner only ever asks for them through this interface; tests
// put a recording clock in its place.
#pragma once

class CommandClock {
 public:
  virtual ~CommandClock() = default;
  // Returns no sooner than ms milliseconds after it was called.
  virtual void Pause(int ms) = 0;
};
