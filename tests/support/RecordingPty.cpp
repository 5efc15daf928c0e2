#include "RecordingPty.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

#include "SandboxCheck.h"

namespace blackbox {

int64_t MonotonicNs() {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

TRecordingPty::TRecordingPty(std::string devicePath) : devicePath_(std::move(devicePath)) {
  RequireSandbox("the black-box harness");
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  char name[PATH_MAX];
  if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0 ||
      ::ptsname_r(master_, name, sizeof name) != 0) {
    Release();
    throw std::runtime_error("no pseudo-terminal for " + devicePath_);
  }
  slavePath_ = name;
  ownSlave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  termios raw{};
  if (ownSlave_ < 0 || ::tcgetattr(ownSlave_, &raw) != 0) {
    Release();
    throw std::runtime_error("cannot open " + slavePath_);
  }
  // Bytes pass as they are written, whatever the program sets later.
  ::cfmakeraw(&raw);
  ::tcsetattr(ownSlave_, TCSANOW, &raw);
  stop_ = ::eventfd(0, EFD_CLOEXEC);
  if (stop_ < 0 || ::symlink(slavePath_.c_str(), devicePath_.c_str()) != 0) {
    Release();
    throw std::runtime_error("cannot make " + devicePath_);
  }
  reader_ = std::thread([this] { Record(); });
}

TRecordingPty::~TRecordingPty() {
  if (!unplugged_) Unplug();
}

// Waits for bytes with no timeout and reads them the moment they arrive,
// so each byte's stamp is as close to its write as the machine allows: 1 ns
// of timer slack, and where we may (as root), a real-time priority, so a
// busy machine does not keep the reader from its byte. Both are best
// effort; without them the stamps only come later.
void TRecordingPty::Record() {
  ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
  sched_param priority{};
  priority.sched_priority = 10;
  ::pthread_setschedparam(::pthread_self(), SCHED_FIFO, &priority);
  pollfd waits[2] = {{master_, POLLIN, 0}, {stop_, POLLIN, 0}};
  unsigned char buffer[4096];
  for (;;) {
    if (::poll(waits, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    const bool stopping = waits[1].revents != 0;
    if (stopping) ::fcntl(master_, F_SETFL, O_NONBLOCK);  // take what is there, then end
    if (waits[0].revents != 0 || stopping) {
      const ssize_t n = ::read(master_, buffer, sizeof buffer);
      const int64_t now = MonotonicNs();
      if (n > 0) {
        std::lock_guard<std::mutex> lock(mutex_);
        for (ssize_t i = 0; i < n; ++i) bytes_.push_back({buffer[i], now});
        arrived_.notify_all();
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      // A master that can no longer be read: wait for the end only.
      if (!stopping && !(n < 0 && errno == EAGAIN)) waits[0].fd = -1;
    }
    if (stopping) return;
  }
}

std::vector<TStampedByte> TRecordingPty::Bytes() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return bytes_;
}

std::string TRecordingPty::Text() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::string text;
  for (const TStampedByte& b : bytes_) text += static_cast<char>(b.byte);
  return text;
}

bool TRecordingPty::WaitForBytes(size_t count, TMillis timeout) const {
  std::unique_lock<std::mutex> lock(mutex_);
  return arrived_.wait_for(lock, timeout, [&] { return bytes_.size() >= count; });
}

bool TRecordingPty::WaitForQuiet(TMillis quiet, TMillis timeout) const {
  const int64_t start = MonotonicNs();
  const int64_t deadline = start + std::chrono::nanoseconds(timeout).count();
  const int64_t quietNs = std::chrono::nanoseconds(quiet).count();
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    const int64_t since = bytes_.empty() ? start : std::max(start, bytes_.back().ns);
    const int64_t now = MonotonicNs();
    if (now - since >= quietNs) return true;
    if (now >= deadline) return false;
    arrived_.wait_for(lock, std::chrono::nanoseconds(std::min(since + quietNs, deadline) - now));
  }
}

void TRecordingPty::Unplug() {
  StopRecording();
  Release();
  unplugged_ = true;
}

void TRecordingPty::StopRecording() {
  if (!reader_.joinable()) return;
  const uint64_t one = 1;
  if (::write(stop_, &one, sizeof one) != sizeof one) std::abort();
  reader_.join();
}

void TRecordingPty::Release() {
  char target[PATH_MAX];
  const ssize_t n = ::readlink(devicePath_.c_str(), target, sizeof target - 1);
  if (n > 0 && std::string(target, static_cast<size_t>(n)) == slavePath_)
    ::unlink(devicePath_.c_str());
  for (int* fd : {&master_, &ownSlave_, &stop_}) {
    if (*fd >= 0) ::close(*fd);
    *fd = -1;
  }
}

}  // namespace blackbox
