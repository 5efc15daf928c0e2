#pragma once
// A pseudo-terminal standing in for a serial device: the program opens the
// slave under a /dev path the test names, and the master end records every
// byte that arrives, with its arrival time.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace blackbox {

using TMillis = std::chrono::milliseconds;

// CLOCK_MONOTONIC in nanoseconds: the clock of every stamp the harness takes.
int64_t MonotonicNs();

struct TStampedByte {
  uint8_t byte;
  int64_t ns;  // when the reader got it (MonotonicNs)
};

class TRecordingPty {
 public:
  // Makes the pty and the symbolic link devicePath -> /dev/pts/N (the path
  // must not exist yet), and starts recording. The slave starts in raw mode,
  // belongs to the harness's user with mode 0620: an unprivileged program
  // cannot open it unless the test widens SlavePath()'s mode.
  explicit TRecordingPty(std::string devicePath);
  // Stops recording and removes the link.
  ~TRecordingPty();
  TRecordingPty(const TRecordingPty&) = delete;
  TRecordingPty& operator=(const TRecordingPty&) = delete;

  const std::string& DevicePath() const { return devicePath_; }
  const std::string& SlavePath() const { return slavePath_; }

  // Every byte so far, in arrival order. A byte read together with others
  // (written by the program in one go) shares their stamp.
  std::vector<TStampedByte> Bytes() const;
  std::string Text() const;  // the same bytes, unstamped
  // True once at least `count` bytes have arrived, false after `timeout`.
  bool WaitForBytes(size_t count, TMillis timeout) const;
  // True once no byte has arrived for `quiet` (counted from the later of
  // this call and the last byte), false when that has not happened within
  // `timeout`.
  bool WaitForQuiet(TMillis quiet, TMillis timeout) const;

  // The adapter is pulled: recording stops (what arrived stays), the master
  // and the harness's own slave descriptor close, so the kernel hangs the
  // slave up and every later write, ioctl or flush of the program on it
  // fails with EIO; the /dev link goes, so a new open fails with ENOENT.
  void Unplug();
  bool Unplugged() const { return unplugged_; }

 private:
  void Record();
  void StopRecording();
  void Release();

  std::string devicePath_, slavePath_;
  int master_ = -1;
  // Held so the master stays readable while the program closes and reopens
  // the slave: with no slave open, reads on the master fail.
  int ownSlave_ = -1;
  int stop_ = -1;  // eventfd that ends the reader
  bool unplugged_ = false;
  std::thread reader_;
  mutable std::mutex mutex_;
  mutable std::condition_variable arrived_;
  std::vector<TStampedByte> bytes_;
};

}  // namespace blackbox
