// Commands on a real serial line: a recording pseudo-terminal behind
// /dev/ttyUSB0 in the sandbox, whose reader stamps every byte the moment it
// gets it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "BlockTestSupport.h"
#include "CommandRecording.h"
#include "CommandRunner.h"
#include "MonotonicClock.h"
#include "MonotonicNow.h"
#include "RecordingPty.h"
#include "SerialTestSupport.h"
#include "TrackerCommands.h"

using namespace testing_support;

namespace {

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

// The line is a recording pty behind /dev/ttyUSB0: the harness's reader,
// blocked until bytes come and stamping each the moment it gets it.
class CommandOnPty : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(UseExactTimerSlack());
    line.OpenDevice(kTrackerPath);
    ASSERT_TRUE(line.DeviceOpen);
    line.ConfigureLine(4800, 8, 'N', 0, false, false);
    ASSERT_EQ(0, line.LastErrorCode);
  }
  void TearDown() override {
    line.CloseDevice();
    ClearLockDir();
  }

  // Runs the command on the real clock and returns what reached the far end.
  std::vector<blackbox::TStampedByte> RunRecorded(const CommandSequence& command, size_t bytes) {
    CommandRunner runner([this] { return &line; }, clock);
    started = MonotonicNowNs();
    outcome = runner.Run(command);
    ended = MonotonicNowNs();
    pty.WaitForBytes(bytes, blackbox::TMillis(2000));
    return pty.Bytes();
  }

  static std::string Bytes(const std::vector<blackbox::TStampedByte>& arrivals) {
    std::string bytes;
    for (const blackbox::TStampedByte& a : arrivals) bytes += static_cast<char>(a.byte);
    return bytes;
  }

  blackbox::TRecordingPty pty{kTrackerPath};
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
  const auto got = RunRecorded(TransmitCommand(), 2);
  ASSERT_FALSE(outcome.stopped);
  ASSERT_EQ(Bytes(got), std::string("\x1b\x03"));
  ASSERT_EQ(clock.pauses.size(), 3u);

  EXPECT_GE(got[0].ns, started + 100 * kNsPerMs) << "the line was not left silent";
  EXPECT_GE(got[0].ns, clock.pauses[0].atNs + 100 * kNsPerMs);
  EXPECT_GE(got[1].ns, clock.pauses[1].atNs + 15 * kNsPerMs);
  const long long late = std::max<long long>(0, got[0].ns - clock.pauses[1].atNs);
  EXPECT_GE(got[1].ns - got[0].ns, 15 * kNsPerMs - late);
  EXPECT_GE(ended, clock.pauses[2].atNs + 1500 * kNsPerMs);
}

TEST_F(CommandOnPty, GpsSentenceArrivesWholeBeforeTheCommandEnds) {
  const auto got = RunRecorded(GpsSimulationCommand(), kSimulatedGpsSentenceLength);
  ASSERT_FALSE(outcome.stopped);
  EXPECT_EQ(Bytes(got), std::string(kSimulatedGpsSentence));
  ASSERT_EQ(clock.pauses.size(), 1u);
  EXPECT_GE(ended, clock.pauses[0].atNs + 500 * kNsPerMs);
  ASSERT_FALSE(got.empty());
  EXPECT_LE(got.back().ns, ended) << "the sentence was still arriving when the lamp went grey";
}

// The adapter is gone: every command stops at its first byte and names the
// device and the error.
TEST_F(CommandOnPty, AVanishedDeviceStopsEveryCommandAtItsFirstByte) {
  pty.Unplug();
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
