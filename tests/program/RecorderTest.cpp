// The recording pty on its own: what the far end of the line sees, and
// when. The test writes to the slave itself, as the program would.

#include <gtest/gtest.h>

#include <algorithm>

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "BlackBox.h"

using namespace blackbox;

namespace {

constexpr char kDevice[] = "/dev/ttyUSB0";

int OpenLine(const char* path) { return ::open(path, O_WRONLY | O_NOCTTY | O_CLOEXEC); }

void WriteByte(int fd, uint8_t byte) { ASSERT_EQ(1, ::write(fd, &byte, 1)); }

// Sleeps until `ns` after `from` on the monotonic clock, whatever wakes it.
void SleepUntil(int64_t from, int64_t ns) {
  const int64_t until = from + ns;
  const timespec deadline{static_cast<time_t>(until / 1000000000), static_cast<long>(until % 1000000000)};
  while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {}
}

struct PacedRun {
  std::vector<int64_t> written;  // just before each write
  std::vector<TStampedByte> recorded;
};

// Byte 0, then byte i + 1 after pausesMs[i], each pause slept from the
// moment its byte was handed over, as the program paces its bytes.
PacedRun WritePaced(const std::vector<int64_t>& pausesMs) {
  TRecordingPty pty(kDevice);
  PacedRun run;
  const int line = OpenLine(kDevice);
  if (line < 0) return run;
  for (size_t i = 0; i <= pausesMs.size(); ++i) {
    if (i > 0) SleepUntil(MonotonicNs(), pausesMs[i - 1] * 1000000);
    run.written.push_back(MonotonicNs());
    WriteByte(line, static_cast<uint8_t>(i));
  }
  pty.WaitForBytes(pausesMs.size() + 1, TMillis(2000));
  run.recorded = pty.Bytes();
  ::close(line);
  return run;
}

// A stalled CPU can hand the reader a byte late, which shortens the gap
// after it on any recorder, however fast it reads; the machine's stalls
// strike at random bytes, though. So the run is made several times, and
// each gap must show its whole pause in at least one of them. A recorder
// that reads on a timer or in batches shortens the short pauses in every
// run.
TEST(RecordingPty, StampsEveryByteAfterThePauseBeforeIt) {
  ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
  const std::vector<int64_t> pausesMs = {20, 1, 5, 0, 50, 2, 25};
  std::vector<int64_t> longestGap(pausesMs.size(), 0);
  for (int attempt = 0; attempt < 5; ++attempt) {
    const PacedRun run = WritePaced(pausesMs);
    ASSERT_EQ(run.recorded.size(), pausesMs.size() + 1);
    for (size_t i = 0; i < run.recorded.size(); ++i) {
      EXPECT_EQ(run.recorded[i].byte, i);
      EXPECT_GE(run.recorded[i].ns, run.written[i]) << "byte " << i << " stamped before its write";
    }
    for (size_t i = 0; i < pausesMs.size(); ++i)
      longestGap[i] = std::max(longestGap[i], run.recorded[i + 1].ns - run.recorded[i].ns);
  }
  for (size_t i = 0; i < pausesMs.size(); ++i)
    EXPECT_GE(longestGap[i], pausesMs[i] * 1000000) << "gap " << i << " short in every run";
}

TEST(RecordingPty, PassesEveryByteValueUnchanged) {
  TRecordingPty pty(kDevice);
  const int line = OpenLine(kDevice);
  ASSERT_GE(line, 0);
  std::string all;
  for (int value = 0; value < 256; ++value) all += static_cast<char>(value);
  ASSERT_EQ(static_cast<ssize_t>(all.size()), ::write(line, all.data(), all.size()));
  ASSERT_TRUE(pty.WaitForBytes(all.size(), TMillis(2000)));
  EXPECT_TRUE(pty.WaitForQuiet(TMillis(50), TMillis(2000)));
  EXPECT_EQ(pty.Text(), all);
  ::close(line);
}

TEST(RecordingPty, KeepsRecordingWhileTheLineIsClosedAndOpenedAgain) {
  TRecordingPty pty(kDevice);
  for (char byte : {'a', 'b'}) {
    const int line = OpenLine(kDevice);
    ASSERT_GE(line, 0);
    WriteByte(line, static_cast<uint8_t>(byte));
    ASSERT_TRUE(pty.WaitForBytes(byte == 'a' ? 1 : 2, TMillis(2000)));
    ::close(line);
  }
  EXPECT_EQ(pty.Text(), "ab");
}

TEST(RecordingPty, QuietNeedsThePeriodWithoutBytes) {
  TRecordingPty pty(kDevice);
  const int line = OpenLine(kDevice);
  ASSERT_GE(line, 0);
  const int64_t start = MonotonicNs();
  EXPECT_TRUE(pty.WaitForQuiet(TMillis(30), TMillis(1000)));
  EXPECT_GE(MonotonicNs() - start, 30000000);
  WriteByte(line, 'x');
  ASSERT_TRUE(pty.WaitForBytes(1, TMillis(1000)));
  EXPECT_FALSE(pty.WaitForQuiet(TMillis(500), TMillis(20)));
  ::close(line);
}

TEST(RecordingPty, UnplugMakesWritesFailAndTheDeviceVanish) {
  TRecordingPty pty(kDevice);
  const int line = OpenLine(kDevice);
  ASSERT_GE(line, 0);
  WriteByte(line, 'a');
  ASSERT_TRUE(pty.WaitForBytes(1, TMillis(2000)));
  pty.Unplug();
  const uint8_t byte = 'b';
  EXPECT_EQ(-1, ::write(line, &byte, 1));
  EXPECT_EQ(EIO, errno);
  struct stat st {};
  EXPECT_NE(0, ::lstat(kDevice, &st));
  EXPECT_EQ(-1, OpenLine(kDevice));
  EXPECT_EQ(ENOENT, errno);
  EXPECT_EQ(pty.Text(), "a");
  ::close(line);
}

TEST(RecordingPty, TakesItsLinkAwayWhenDone) {
  { TRecordingPty pty(kDevice); }
  struct stat st {};
  EXPECT_NE(0, ::lstat(kDevice, &st));
}

}  // namespace
