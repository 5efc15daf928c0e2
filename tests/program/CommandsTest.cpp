// The five tracker commands of the real program, seen from the tracker's end
// of the line and on the screen: the bytes, the pauses between them, the
// lamps, what a refused entry or a pulled adapter does, and clicks that wait
// in the queue while another command holds its event step.

#include <gtest/gtest.h>

#include <cstdio>

#include "BlockTestSupport.h"
#include "CommandTesting.h"
#include "ConfigBlock.h"

using namespace blackbox;

namespace {

constexpr char kEsc = 27;
// Each timed command runs this often; see TimingShortfalls.
constexpr int kRuns = 3;

std::vector<TCommandRun> RunTimes(TTrackerSession& session, int runs, const std::string& control,
                                  TLamp lamp, uint32_t lit, size_t byteCount) {
  std::vector<TCommandRun> all;
  for (int r = 0; r < runs; ++r) all.push_back(RunCommand(session, control, lamp, lit, byteCount));
  return all;
}

void ExpectEveryRun(const std::vector<TCommandRun>& runs, const std::string& bytes) {
  for (size_t r = 0; r < runs.size(); ++r) {
    EXPECT_TRUE(runs[r].litSeen) << "run " << r << ": the lamp was not lit";
    EXPECT_NE(runs[r].greySeen, 0) << "run " << r << ": the lamp did not turn grey";
    EXPECT_EQ(TextOf(runs[r].bytes), bytes) << "run " << r;
  }
}

// ---- the four commands -------------------------------------------------

struct TDirectCommand {
  const char* name;
  const char* button;
  TLamp lamp;
  uint32_t lit;
  std::string bytes;
  TCommandTiming timing;
};

void PrintTo(const TDirectCommand& command, std::ostream* out) { *out << command.name; }

class DirectCommand : public ::testing::TestWithParam<TDirectCommand> {};

TEST_P(DirectCommand, PutsItsBytesOnTheLineWithItsPausesWhileItsLampIsLit) {
  const TDirectCommand& command = GetParam();
  TTrackerSession session;
  const std::vector<TCommandRun> runs = RunTimes(session, kRuns, command.button, command.lamp,
                                                 command.lit, command.bytes.size());
  ExpectEveryRun(runs, command.bytes);
  EXPECT_EQ(TimingShortfalls(runs, command.timing), "");
  EXPECT_TRUE(LockFileExists());
}

// The sentence as the test makes it: the fields, "*", the XOR of every byte
// between "$" and "*" in two hex digits, CR LF; 70 bytes.
std::string GpsSentence() {
  const std::string fields = "GPRMC,121944,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W";
  unsigned sum = 0;
  for (char c : fields) sum ^= static_cast<unsigned char>(c);
  char checksum[3];
  std::snprintf(checksum, sizeof checksum, "%02X", sum);
  return "$" + fields + "*" + checksum + "\r\n";
}

INSTANTIATE_TEST_SUITE_P(
    Tracker, DirectCommand,
    ::testing::Values(
        TDirectCommand{"Tone1200", "Button4", TLamp::Tone, kYellow, {kEsc, 1}, {0, {20}, 500}},
        TDirectCommand{"Tone2400", "Button5", TLamp::Tone, kYellow, {kEsc, 2}, {0, {5}, 500}},
        TDirectCommand{"Transmit", "Button6", TLamp::Tx, kMagenta, {kEsc, 3}, {100, {15}, 1500}},
        TDirectCommand{"GpsSimulation", "Button2", TLamp::GpsSimul, kDarkYellow, GpsSentence(),
                       {0, std::vector<int>(69, 0), 500}}),
    [](const ::testing::TestParamInfo<TDirectCommand>& info) { return info.param.name; });

// ---- Write Conf. ---------------------------------------------------------

TCommandTiming WriteConfTiming() {
  // 20 ms after ESC, 9 and block bytes 0-87; 25 ms after bytes 88-127.
  TCommandTiming timing;
  timing.gapsMs.assign(90, 20);
  timing.gapsMs.resize(129, 25);
  timing.settleMs = 25;
  return timing;
}

TEST(WriteConf, PutsEscNineAndTheStoredLayoutsBlockOnTheLinePaced) {
  TTrackerSession session;
  const ConfigBlock block = EncodeConfigBlock(StoredLayoutEntries());
  const std::string expected =
      std::string{kEsc, 9} + std::string(block.bytes.begin(), block.bytes.end());
  // A few bytes as the block's layout gives them, whatever the encoder says.
  ASSERT_EQ(expected.size(), 130u);
  EXPECT_EQ(expected.substr(2, 8), std::string("MYCALL\x03\x01", 8));
  EXPECT_EQ(expected.substr(2 + 8, 15), "522412N0082312E");
  EXPECT_EQ(expected.substr(2 + 88, 3), std::string("\x80\x00\x02", 3));
  EXPECT_EQ(expected.substr(2 + 91, 15), std::string("APRS  \0WIDE2 \x02\x32", 15));
  EXPECT_EQ(expected.substr(2 + 106), std::string(22, 'X'));

  // The closing discard comes 25 ms after the last byte. On a pty a discard
  // also drops what the kernel has not yet handed on to the reader, and when
  // the machine stalls that hand-over for so long, the run loses its last
  // filler bytes (a real line has sent them by then, at 2 ms a byte). So a
  // run may end short of the block but never differ from it; some runs must
  // bring all of it, and the pacing is judged on those.
  const std::vector<TCommandRun> runs =
      RunTimes(session, kRuns + 1, "Button1", TLamp::WriteConf, kYellow, expected.size());
  std::vector<TCommandRun> whole;
  for (size_t r = 0; r < runs.size(); ++r) {
    EXPECT_TRUE(runs[r].litSeen) << "run " << r << ": the lamp was not lit";
    EXPECT_NE(runs[r].greySeen, 0) << "run " << r << ": the lamp did not turn grey";
    const std::string got = TextOf(runs[r].bytes);
    EXPECT_EQ(got, expected.substr(0, got.size())) << "run " << r;
    EXPECT_GE(got.size(), expected.size() - 22) << "run " << r << ": lost more than the filler";
    if (got == expected) whole.push_back(runs[r]);
  }
  ASSERT_GE(whole.size(), 2u) << "too few runs brought the whole block";
  EXPECT_EQ(TimingShortfalls(whole, WriteConfTiming()), "");
  for (TLamp lamp : {TLamp::WriteConf, TLamp::GpsSimul, TLamp::Tone, TLamp::Tx})
    EXPECT_EQ(session.Korva().Colour(LampCentre(lamp)), kGrey) << static_cast<int>(lamp);
}

// Entries the block cannot be made of: nothing at all goes out, not even
// ESC 9, and the error dialog says why, naming the entry by its caption.
TEST(WriteConf, RefusesEntriesItCannotEncodeAndSendsNothing) {
  struct Case {
    const char* what;
    const char *callSign, *position, *path, *txDelay;
    const char* message;  // the dialog's first line
  };
  const Case cases[] = {
      {"a call sign ending in -", "MYCALL-", "5224.12N00823.12E", "APRS,WIDE2-2", "50",
       "\"\" is an invalid integer."},
      {"a third path element", "MYCALL-3", "5224.12N00823.12E", "APRS,WIDE1-1,WI", "50",
       "PATH: \"APRS,WIDE1-1,WI\" has more than the 2 calls the tracker sends, such as "
       "APRS,WIDE2-2."},
      {"an empty TX delay", "MYCALL-3", "5224.12N00823.12E", "APRS,WIDE2-2", "",
       "\"\" is an invalid integer."},
      {"a call sign of 7 characters", "DL1ABCD-3", "5224.12N00823.12E", "APRS,WIDE2-2", "50",
       "CALLSIGN: \"DL1ABCD\" is longer than the 6 characters a call sign can have."},
      {"a position of 16 bytes", "MYCALL-3", "5224.12N00823.12", "APRS,WIDE2-2", "50",
       "ddmm.hhNdddmm.hhE: \"5224.12N00823.12\" is shorter than the 17 characters of a "
       "position such as 5224.12N00823.12E."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TKorvaOptions options;
    options.settings = std::string(c.callSign) + "\n" + c.position + "\nMY TEXT\n-\n" + c.path +
                       "\n" + c.txDelay + "\n4\n0\n";
    TTrackerSession session(options);
    session.ClickWhileStopped({"Button1"});
    const std::optional<TXWindow> dialog = session.Korva().FindWindow("ZAZU - VED", kPatience);
    ASSERT_TRUE(dialog.has_value()) << "no error dialog";
    const std::optional<std::string> text = session.Korva().MessageText(*dialog, "Tab", kPatience);
    ASSERT_TRUE(text.has_value()) << "the dialog's text could not be read";
    EXPECT_EQ(text->substr(0, text->find('\n')), c.message);
    EXPECT_TRUE(session.Line().WaitForQuiet(TMillis(200), kPatience));
    EXPECT_EQ(session.Line().Text(), "");
    session.Korva().PressKeyIn(*dialog, "Return");
    // OK goes on: the port is still open and the next command is sent.
    const TCommandRun tone = RunCommand(session, "Button5", TLamp::Tone, kYellow, 2);
    EXPECT_EQ(TextOf(tone.bytes), std::string({kEsc, 2}));
  }
}

// ---- a device that goes away -----------------------------------------------

TEST(PulledAdapter, StopsTheCommandFreesThePortAndTheGuardAnswersTheNext) {
  TTrackerSession session;
  TRecordingPty& line = session.Line();
  TKorvaProcess& korva = session.Korva();
  session.ClickWhileStopped({"Button1"});
  ASSERT_TRUE(line.WaitForBytes(10, kPatience));
  line.Unplug();
  EXPECT_TRUE(korva.WaitForColour(LampCentre(TLamp::WriteConf), kGrey, kPatience));
  EXPECT_LT(line.Bytes().size(), 130u);
  EXPECT_TRUE(WaitFor([] { return !LockFileExists(); }, kPatience)) << "the port was not let go";
  EXPECT_FALSE(korva.FindWindow("ZAZU - VED", TMillis(300)).has_value());

  korva.ClickControl("Button6");
  const std::optional<TXWindow> box = korva.FindWindow("ERROR", kPatience);
  ASSERT_TRUE(box.has_value()) << "the guard let TX through";
  EXPECT_EQ(korva.Colour(LampCentre(TLamp::Tx)), kGrey);
  korva.PressKeyIn(*box, "Return");
}

// ---- clicks waiting at the event step --------------------------------------

// The second click waits in the queue when the first "TX" reaches its event
// step, runs whole in there, and puts the lamp out before the first one sends.
TEST(WaitingClick, SecondTxRunsWholeInsideTheFirst) {
  TTrackerSession session;
  TKorvaProcess& korva = session.Korva();
  session.ClickWhileStopped({"Button6", "Button6"});
  EXPECT_TRUE(korva.WaitForColour(LampCentre(TLamp::Tx), kMagenta, kPatience));
  ASSERT_TRUE(session.Line().WaitForBytes(3, kPatience));
  // The outer ESC is out: the lamp went grey at the inner command's end, and
  // nothing lights it again (it would be magenta for 1.5 s after this ESC if
  // the two had run one after the other).
  EXPECT_EQ(korva.Colour(LampCentre(TLamp::Tx)), kGrey);
  ASSERT_TRUE(session.Line().WaitForBytes(4, kPatience));
  EXPECT_EQ(session.Line().Text(), std::string({kEsc, 3, kEsc, 3}));
}

TEST(WaitingClick, Tone2400WaitingAtTheEventStepOf1200GoesOutFirst) {
  TTrackerSession session;
  TKorvaProcess& korva = session.Korva();
  session.ClickWhileStopped({"Button4", "Button5"});
  ASSERT_TRUE(session.Line().WaitForBytes(3, kPatience));
  EXPECT_EQ(korva.Colour(LampCentre(TLamp::Tone)), kGrey) << "lit while ESC 1 went out";
  ASSERT_TRUE(session.Line().WaitForBytes(4, kPatience));
  EXPECT_EQ(session.Line().Text(), std::string({kEsc, 2, kEsc, 1}));
}

}  // namespace
