// Every command's bytes, discards and pauses, exactly and in order, from a
// recording line and a recording clock.
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <numeric>
#include <ostream>
#include <string>
#include <vector>

#include "BlockTestSupport.h"
#include "CommandRecording.h"
#include "CommandRunner.h"
#include "TrackerCommands.h"

namespace {

struct CommandCase {
  const char* button;
  std::function<CommandSequence()> command;
  std::string trace;
};

void PrintTo(const CommandCase& c, std::ostream* os) { *os << c.button; }

const std::string kSentence =
    "$GPRMC,121944,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6C\r\n";

class CommandTrace : public ::testing::TestWithParam<CommandCase> {};

TEST_P(CommandTrace, SendsItsBytesWithItsPauses) {
  Recorded r;
  const CommandOutcome outcome = r.runner.Run(GetParam().command());
  EXPECT_FALSE(outcome.stopped);
  EXPECT_EQ(Joined(r.trace), GetParam().trace);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CommandTrace,
    ::testing::Values(CommandCase{"1200 Hz", Tone1200Command, "27 +20 1 +500"},
                      CommandCase{"2400 Hz", Tone2400Command, "27 +5 2 +500"},
                      CommandCase{"TX", TransmitCommand, "+100 27 +15 3 +1500"},
                      // One discard before the sentence, none after it.
                      CommandCase{"GPS-Simul.", GpsSimulationCommand,
                                  "D " + SendTokens(kSentence) + " +500"},
                      CommandCase{"Write Conf. closing", WriteConfClosingCommand, "D"}),
    [](const ::testing::TestParamInfo<CommandCase>& info) {
      std::string name;
      for (const char* c = info.param.button; *c != '\0'; ++c)
        if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
      return name;
    });

TEST(WriteConfTrace, StoredLayoutBlockGoesOutWholeAndPaced) {
  const ConfigBlock block = EncodeConfigBlock(StoredLayoutEntries());
  Recorded r;
  ASSERT_FALSE(r.runner.Run(WriteConfCommand(block.bytes)).stopped);

  std::vector<std::uint8_t> expected{27, 9};
  expected.insert(expected.end(), block.bytes.begin(), block.bytes.end());
  EXPECT_EQ(r.line.sends, expected);
  ASSERT_EQ(r.line.sends.size(), 130u);

  ASSERT_EQ(r.clock.pauses.size(), 130u);
  EXPECT_EQ(std::accumulate(r.clock.pauses.begin(), r.clock.pauses.end(), 0), 2800);
  for (std::size_t i = 0; i < r.clock.pauses.size(); ++i)
    EXPECT_EQ(r.clock.pauses[i], i < 90 ? 20 : 25) << "pause after send " << i;

  // A discard first, then each byte followed by its own pause.
  ASSERT_FALSE(r.trace.empty());
  EXPECT_EQ(r.trace.front(), "D");
  for (std::size_t i = 1; i + 1 < r.trace.size(); i += 2) {
    EXPECT_EQ(r.trace[i], std::to_string(r.line.sends[i / 2])) << "token " << i;
    EXPECT_EQ(r.trace[i + 1][0], '+') << "token " << i + 1;
  }
  EXPECT_EQ(r.line.events.back().atMs, 2775);  // the last filler byte
  EXPECT_EQ(r.clock.nowMs, 2800);

  // The window paints here; the closing discard comes after the last pause.
  ASSERT_FALSE(r.runner.Run(WriteConfClosingCommand()).stopped);
  EXPECT_TRUE(r.line.events.back().discard);
  EXPECT_EQ(r.line.events.back().atMs, 2800);
  EXPECT_EQ(r.trace.size(), 1u + 2 * 130 + 1);
}

}  // namespace
