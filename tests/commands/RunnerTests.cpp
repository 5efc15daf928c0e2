// The runner's contract with the line: it asks for the line afresh at every
// send and discard, stops at the first refused byte, and lets a failed
// discard pass.
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "CommandRecording.h"
#include "CommandRunner.h"
#include "TrackerCommands.h"

namespace {

class RunnerTest : public ::testing::Test {
 protected:
  std::vector<std::string> trace;
  RecordingClock clock{&trace};
  RecordingLine line{&trace, &clock};
};

TEST_F(RunnerTest, TakesTheLineAfreshForEverySendAndDiscard) {
  RecordingLine replacement(&trace, &clock, "/dev/replacement");
  int asked = 0;
  // After the discard and nine bytes a pick replaces the line object.
  CommandRunner runner([&]() -> TBlockSerial* { return ++asked <= 10 ? &line : &replacement; },
                       clock);
  ASSERT_FALSE(runner.Run(GpsSimulationCommand()).stopped);

  EXPECT_EQ(asked, 1 + 70);
  const std::string sentence(kSimulatedGpsSentence);
  EXPECT_EQ(std::string(line.sends.begin(), line.sends.end()), sentence.substr(0, 9));
  EXPECT_EQ(std::string(replacement.sends.begin(), replacement.sends.end()), sentence.substr(9));
  EXPECT_TRUE(line.events.front().discard);
  EXPECT_EQ(clock.pauses, std::vector<int>{500});
}

// A refusal leaves exactly what a clean run traced before that send.
struct RefusalCase {
  const char* name;
  std::function<CommandSequence()> command;
  long refuseAt;
};

void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }

class RefusedSend : public RunnerTest, public ::testing::WithParamInterface<RefusalCase> {};

std::vector<std::string> TraceBeforeSend(const std::vector<std::string>& full, long send) {
  std::vector<std::string> prefix;
  for (const std::string& token : full) {
    const bool isSend = token != "D" && token[0] != '+';
    if (isSend && send-- == 0) break;
    prefix.push_back(token);
  }
  return prefix;
}

TEST_P(RefusedSend, StopsAtOnceAndSaysWhichByteAndWhy) {
  Recorded clean;
  clean.runner.Run(GetParam().command());

  line.refuseAtSend = GetParam().refuseAt;
  const CommandOutcome outcome = CommandRunner([&] { return &line; }, clock).Run(GetParam().command());

  EXPECT_TRUE(outcome.stopped);
  EXPECT_FALSE(outcome.LineClosed());
  EXPECT_EQ(outcome.byteIndex, static_cast<std::size_t>(GetParam().refuseAt));
  EXPECT_EQ(outcome.byte, clean.line.sends[static_cast<std::size_t>(GetParam().refuseAt)]);
  EXPECT_EQ(outcome.errorCode, EIO);
  EXPECT_EQ(outcome.errorText, TBlockSerial::GetErrorDesc(EIO));
  EXPECT_EQ(outcome.device, "/dev/recorded");
  // No pause after the refused byte either: the lamp goes grey at once.
  EXPECT_EQ(Joined(trace), Joined(TraceBeforeSend(clean.trace, GetParam().refuseAt)));
}

const ConfigBlock& AnyBlock() {
  static const ConfigBlock block = [] {
    ConfigBlock b;
    for (std::size_t i = 0; i < b.bytes.size(); ++i) b.bytes[i] = static_cast<std::uint8_t>(i);
    return b;
  }();
  return block;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, RefusedSend,
    ::testing::Values(RefusalCase{"TxFirstByte", TransmitCommand, 0},
                      RefusalCase{"TxCommandByte", TransmitCommand, 1},
                      RefusalCase{"Tone1200CommandByte", Tone1200Command, 1},
                      RefusalCase{"GpsLineFeed", GpsSimulationCommand, 69},
                      RefusalCase{"WriteConfEscape", [] { return WriteConfCommand(AnyBlock().bytes); }, 0},
                      RefusalCase{"WriteConfLastHeadByte",
                                  [] { return WriteConfCommand(AnyBlock().bytes); }, 89},
                      RefusalCase{"WriteConfFirstTailByte",
                                  [] { return WriteConfCommand(AnyBlock().bytes); }, 90},
                      RefusalCase{"WriteConfLastByte",
                                  [] { return WriteConfCommand(AnyBlock().bytes); }, 129}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

TEST_F(RunnerTest, AFailedDiscardDoesNotStopTheCommand) {
  line.discardCode = EBADF;
  CommandRunner runner([&] { return &line; }, clock);
  const CommandOutcome outcome = runner.Run(GpsSimulationCommand());
  EXPECT_FALSE(outcome.stopped);
  EXPECT_EQ(line.sends.size(), 70u);
  EXPECT_EQ(clock.pauses, std::vector<int>{500});
}

// A handler in the event step closed the port (the window's close request,
// an edit of the port box): the rest of the command goes nowhere and says so.
TEST_F(RunnerTest, AClosedOrMissingLineStopsAtTheNextSend) {
  TBlockSerial closed;  // the real class, never opened
  closed.DevicePath = "/dev/ttyUSB0";
  int asked = 0;
  struct Case {
    const char* name;
    std::function<TBlockSerial*()> current;
    std::string device;
  } cases[] = {
      {"closed after the first send", [&]() -> TBlockSerial* { return ++asked == 1 ? &line : &closed; },
       "/dev/ttyUSB0"},
      {"gone after the first send", [&]() -> TBlockSerial* { return ++asked == 1 ? &line : nullptr; }, ""},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    asked = 0;
    trace.clear();
    line.sends.clear();
    const CommandOutcome outcome = CommandRunner(c.current, clock).Run(Tone1200Command());
    EXPECT_TRUE(outcome.stopped);
    EXPECT_TRUE(outcome.LineClosed());
    EXPECT_EQ(outcome.byteIndex, 1u);
    EXPECT_EQ(outcome.byte, TrackerCommandByte::Tone1200);
    EXPECT_EQ(outcome.errorCode, TBlockSerial::ErrNotConnected);
    EXPECT_EQ(outcome.device, c.device);
    EXPECT_EQ(Joined(trace), "27 +20");
  }
}

TEST_F(RunnerTest, ADiscardWithoutALineIsSkipped) {
  const CommandOutcome outcome =
      CommandRunner([]() -> TBlockSerial* { return nullptr; }, clock).Run(WriteConfClosingCommand());
  EXPECT_FALSE(outcome.stopped);
  EXPECT_TRUE(trace.empty());
}

}  // namespace
