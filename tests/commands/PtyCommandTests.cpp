// Commands on a real serial line: a pseudo-terminal behind /dev/ttyUSB0 in the
// sandbox, with a thread on its other end that stamps every byte the moment
// read(2) hands it over.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <string>
#include <sys/prctl.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

#include "BlockTestSupport.h"
#include "CommandRecording.h"
#include "CommandRunner.h"
#include "MonotonicClock.h"
#include "MonotonicNow.h"
#include "SerialFixture.h"
#include "TrackerCommands.h"

using namespace testing_support;

namespace {

struct Arrival {
  std::uint8_t byte;
  long long atNs;
};

// Blocked in read(2) all along, never polling on a timer: a discard on the
// line also drops what the far end has not read yet.
class ArrivalRecorder {
 public:
  explicit ArrivalRecorder(int master)
      : thread_([this, master] {
          ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
          std::uint8_t buf[256];
          for (;;) {
            ssize_t n = ::read(master, buf, sizeof buf);
            const long long at = MonotonicNowNs();
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;  // EIO once the line's end is closed
            for (ssize_t i = 0; i < n; ++i) arrivals_.push_back({buf[i], at});
          }
        }) {}
  ~ArrivalRecorder() { Finish(); }

  // Call only once the line's end has been closed.
  const std::vector<Arrival>& Finish() {
    if (thread_.joinable()) thread_.join();
    return arrivals_;
  }

 private:
  std::vector<Arrival> arrivals_;
  std::thread thread_;
};

// The real clock, noting when each pause began: right after the byte before
// it was handed over.
class StampingClock : public CommandClock {
 public:
  void Pause(int ms) override {
    pauses.push_back({ms, MonotonicNowNs()});
    real_.Pause(ms);
  }
  struct Begun {
    int ms;
    long long atNs;
  };
  std::vector<Begun> pauses;

 private:
  MonotonicClock real_;
};

class CommandOnPty : public TrackerPortTest {
 protected:
  void SetUp() override {
    TrackerPortTest::SetUp();
    ASSERT_TRUE(UseExactTimerSlack());
    line.OpenDevice(kTrackerPath);
    ASSERT_TRUE(line.DeviceOpen);
    line.ConfigureLine(4800, 8, 'N', 0, false, false);
    ASSERT_EQ(0, line.LastErrorCode);
  }
  void TearDown() override {
    line.CloseDevice();
    TrackerPortTest::TearDown();
  }

  // Runs the command on the real clock and returns what reached the far end.
  std::vector<Arrival> RunRecorded(const CommandSequence& command) {
    ArrivalRecorder recorder(pty.Master());
    CommandRunner runner([this] { return &line; }, clock);
    started = MonotonicNowNs();
    outcome = runner.Run(command);
    ended = MonotonicNowNs();
    line.CloseDevice();  // ends the recorder's read with EIO
    return recorder.Finish();
  }

  static std::string Bytes(const std::vector<Arrival>& arrivals) {
    std::string bytes;
    for (const Arrival& a : arrivals) bytes += static_cast<char>(a.byte);
    return bytes;
  }

  TBlockSerial line;
  StampingClock clock;
  CommandOutcome outcome;
  long long started = 0, ended = 0;
};

constexpr long long kNsPerMs = 1000000;

// The bound: byte k+1 cannot reach the far end before its write began, and
// that write waits for the deadline the pause took after byte k was handed
// over. So arrival[k+1] >= (start of that pause) + pause, exactly, with no
// allowance. Measured from arrival to arrival the gap may look shorter only
// by how late the recorder saw byte k after the sender let go of it; that
// lateness is measured here, not assumed.
TEST_F(CommandOnPty, TransmitArrivesWholeWithItsSilenceAndGaps) {
  const std::vector<Arrival> got = RunRecorded(TransmitCommand());
  ASSERT_FALSE(outcome.stopped);
  ASSERT_EQ(Bytes(got), std::string("\x1b\x03"));
  ASSERT_EQ(clock.pauses.size(), 3u);

  EXPECT_GE(got[0].atNs, started + 100 * kNsPerMs) << "the line was not left silent";
  EXPECT_GE(got[0].atNs, clock.pauses[0].atNs + 100 * kNsPerMs);
  EXPECT_GE(got[1].atNs, clock.pauses[1].atNs + 15 * kNsPerMs);
  const long long late = std::max(0LL, got[0].atNs - clock.pauses[1].atNs);
  EXPECT_GE(got[1].atNs - got[0].atNs, 15 * kNsPerMs - late);
  EXPECT_GE(ended, clock.pauses[2].atNs + 1500 * kNsPerMs);
}

TEST_F(CommandOnPty, GpsSentenceArrivesWholeBeforeTheCommandEnds) {
  const std::vector<Arrival> got = RunRecorded(GpsSimulationCommand());
  ASSERT_FALSE(outcome.stopped);
  EXPECT_EQ(Bytes(got), std::string(kSimulatedGpsSentence));
  ASSERT_EQ(clock.pauses.size(), 1u);
  EXPECT_GE(ended, clock.pauses[0].atNs + 500 * kNsPerMs);
  ASSERT_FALSE(got.empty());
  EXPECT_LE(got.back().atNs, ended) << "the sentence was still arriving when the lamp went grey";
}

// The adapter is gone: every command stops at its first byte and names the
// device and the error.
TEST_F(CommandOnPty, AVanishedDeviceStopsEveryCommandAtItsFirstByte) {
  pty.CloseMaster();
  std::vector<std::string> trace;
  RecordingClock fast(&trace);
  CommandRunner runner([this] { return &line; }, fast);
  const ConfigBlock block = EncodeConfigBlock(StoredLayoutEntries());
  const std::pair<const char*, CommandSequence> commands[] = {
      {"1200 Hz", Tone1200Command()},      {"2400 Hz", Tone2400Command()},
      {"TX", TransmitCommand()},           {"GPS-Simul.", GpsSimulationCommand()},
      {"Write Conf.", WriteConfCommand(block.bytes)}};
  for (const auto& [button, command] : commands) {
    SCOPED_TRACE(button);
    const CommandOutcome stopped = runner.Run(command);
    EXPECT_TRUE(stopped.stopped);
    EXPECT_FALSE(stopped.LineClosed());
    EXPECT_EQ(stopped.byteIndex, 0u);
    EXPECT_EQ(stopped.errorCode, EIO);
    EXPECT_EQ(stopped.device, kTrackerPath);
  }
}

}  // namespace
