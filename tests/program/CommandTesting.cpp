#include "CommandTesting.h"

#include <algorithm>
#include <climits>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <thread>

namespace blackbox {

namespace {

TKorvaOptions WithTracker(TKorvaOptions options) {
  options.devices.push_back(kTracker);
  return options;
}

// The state letter of /proc/<pid>/stat: R, S, T (stopped), ...
char ProcessState(pid_t pid) {
  std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
  std::string stat((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const size_t name = stat.rfind(')');
  return name == std::string::npos || name + 2 >= stat.size() ? '?' : stat[name + 2];
}

}  // namespace

bool WaitFor(const std::function<bool()>& condition, TMillis timeout) {
  const int64_t deadline = MonotonicNs() + std::chrono::nanoseconds(timeout).count();
  while (!condition()) {
    if (MonotonicNs() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return true;
}

bool LockFileExists() {
  struct stat st {};
  return ::lstat(kTrackerLock, &st) == 0;
}

TTrackerSession::TTrackerSession(TKorvaOptions options) : korva_(WithTracker(std::move(options))) {
  korva_.Start();
  if (!korva_.WaitForWindow()) throw std::runtime_error("no window: " + korva_.Stderr());
  if (!korva_.PickPort(1)) throw std::runtime_error("the port list did not open and close");
  if (!WaitFor(LockFileExists, kPatience)) throw std::runtime_error("the pick opened no port");
}

void TTrackerSession::Signal(int signal, char state) {
  if (::kill(korva_.Pid(), signal) != 0) throw std::runtime_error("cannot signal korva");
  if (state != 0 && !WaitFor([&] { return ProcessState(korva_.Pid()) == state; }, kPatience))
    throw std::runtime_error("korva did not stop");
}

int64_t TTrackerSession::ClickWhileStopped(const std::vector<std::string>& controls) {
  Signal(SIGSTOP, 'T');
  for (const std::string& control : controls) korva_.ClickControl(control);
  // A request of our own after the clicks: once the server has answered it,
  // it has handled the clicks and queued their events for the program.
  korva_.Colour(kCommandPanelPoint);
  const int64_t goesOn = MonotonicNs();
  Signal(SIGCONT, 0);
  return goesOn;
}

TCommandRun RunCommand(TTrackerSession& session, const std::string& control, TLamp lamp,
                       uint32_t lit, size_t byteCount) {
  TRecordingPty& line = session.Line();
  const size_t before = line.Bytes().size();
  TCommandRun run;
  run.goesOn = session.ClickWhileStopped({control});
  run.litSeen = session.Korva().WaitForColour(LampCentre(lamp), lit, kPatience).has_value();
  run.greySeen = session.Korva().WaitForColour(LampCentre(lamp), kGrey, kPatience).value_or(0);
  line.WaitForBytes(before + byteCount, kPatience);
  const std::vector<TStampedByte> all = line.Bytes();
  run.bytes.assign(all.begin() + static_cast<std::ptrdiff_t>(before), all.end());
  return run;
}

namespace {

// How many consecutive intervals may stand in for one; see the header.
constexpr size_t kStretch = 4;
// How much later than its write the reader stamps a byte when nothing
// stalls it: with 1 ns of timer slack it wakes some tenths of a millisecond
// after the write, and a burst of bytes is read in chunks a little later
// still. An interval that starts at a stamp may fall short of its pauses by
// this much; the moment the program went on is the test's own and needs none.
constexpr int64_t kReaderLatenessNs = kNsPerMs / 2;

// The moments of a run: when it went on, its bytes' stamps, then the lamp
// turning grey.
std::vector<int64_t> Moments(const TCommandRun& run) {
  std::vector<int64_t> moments{run.goesOn};
  for (const TStampedByte& b : run.bytes) moments.push_back(b.ns);
  moments.push_back(run.greySeen);
  return moments;
}

// Interval k (moment k to k + 1) is shown when a stretch of at most kStretch
// intervals that ends with it spans at least their pauses.
bool Shown(const std::vector<int64_t>& moments, const std::vector<int>& least, size_t k) {
  int64_t wanted = 0;
  for (size_t length = 1; length <= kStretch && length <= k + 1; ++length) {
    const size_t first = k + 1 - length;
    wanted += least[first] * kNsPerMs;
    const int64_t allowance = first == 0 ? 0 : kReaderLatenessNs;
    if (moments[k + 1] - moments[first] >= wanted - allowance) return true;
  }
  return false;
}

}  // namespace

std::string TimingShortfalls(const std::vector<TCommandRun>& runs, const TCommandTiming& timing) {
  std::ostringstream faults;
  const size_t count = timing.gapsMs.size() + 1;
  for (size_t r = 0; r < runs.size(); ++r) {
    const TCommandRun& run = runs[r];
    if (run.bytes.size() != count || run.greySeen == 0) {
      faults << "run " << r << ": " << run.bytes.size() << " bytes, lamp grey "
             << (run.greySeen ? "seen" : "not seen") << "\n";
      return faults.str();
    }
    const int64_t silence = run.bytes.front().ns - run.goesOn;
    if (silence < timing.silenceMs * kNsPerMs)
      faults << "run " << r << ": first byte after " << silence / 1e6 << " ms\n";
  }
  std::vector<int> least{timing.silenceMs};
  least.insert(least.end(), timing.gapsMs.begin(), timing.gapsMs.end());
  least.push_back(timing.settleMs);
  std::vector<std::vector<int64_t>> moments;
  for (const TCommandRun& run : runs) moments.push_back(Moments(run));
  for (size_t k = 1; k < least.size(); ++k) {
    bool shown = false;
    int64_t longest = INT64_MIN;
    for (const std::vector<int64_t>& m : moments) {
      shown = shown || Shown(m, least, k);
      longest = std::max(longest, m[k + 1] - m[k]);
    }
    if (!shown)
      faults << (k + 1 < least.size() ? "gap after byte " + std::to_string(k - 1)
                                      : std::string("lamp after the last byte"))
             << ": at most " << longest / 1e6 << " ms in " << runs.size() << " runs, wanted "
             << least[k] << " ms\n";
  }
  return faults.str();
}

std::string TextOf(const std::vector<TStampedByte>& bytes) {
  std::string text;
  for (const TStampedByte& b : bytes) text += static_cast<char>(b.byte);
  return text;
}

}  // namespace blackbox
