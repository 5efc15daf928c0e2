#include "PacingBench.h"

#include <algorithm>
#include <array>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "BlackBox.h"
#include "ProcessFigures.h"
#include "TrackerCommands.h"

using namespace blackbox;

namespace {

constexpr char kTrackerDevice[] = "/dev/ttyUSB0";
constexpr char kFloorDevice[] = "/dev/korva-floor";
constexpr char kTrackerLock[] = "/var/lock/LCK..ttyUSB0";
constexpr int64_t kLampReadAheadNs = 20000000;

struct TCommandCase {
  std::string name, button;
  TLamp lamp;
  TPacedBytes paced;
  int runs;
  // The block of "Write Conf." comes from the window's entries; the floor
  // sends zeros in its place, which paces the same.
  bool valuesKnown;
};

std::vector<TCommandCase> Cases(int writeConfRuns, int commandRuns) {
  const std::array<std::uint8_t, ConfigBlockOffset::End> zeros{};
  return {
      {"Write Conf.", "Button1", TLamp::WriteConf, PacedBytesOf(WriteConfCommand(zeros)), writeConfRuns, false},
      {"1200 Hz", "Button4", TLamp::Tone, PacedBytesOf(Tone1200Command()), commandRuns, true},
      {"2400 Hz", "Button5", TLamp::Tone, PacedBytesOf(Tone2400Command()), commandRuns, true},
      {"TX", "Button6", TLamp::Tx, PacedBytesOf(TransmitCommand()), commandRuns, true},
      {"GPS-Simul.", "Button2", TLamp::GpsSimul, PacedBytesOf(GpsSimulationCommand()), commandRuns, true},
  };
}

TMillis Duration(const TPacedBytes& paced) {
  int ms = paced.leadingPauseMs;
  for (const TPacedByte& byte : paced.bytes) ms += byte.pauseAfterMs;
  return TMillis(ms);
}

std::vector<TStampedByte> Since(const TRecordingPty& pty, std::size_t from) {
  const std::vector<TStampedByte> all = pty.Bytes();
  return {all.begin() + static_cast<std::ptrdiff_t>(std::min(from, all.size())), all.end()};
}

bool Exists(const char* path) {
  struct stat st {};
  return ::lstat(path, &st) == 0;
}

// Picks the port and waits until KORVA holds its lock: then the line is open.
void OpenTrackerPort(TKorvaProcess& korva) {
  if (!korva.PickPort(1)) throw std::runtime_error("the port list did not open");
  for (int i = 0; i < 5000 && !Exists(kTrackerLock); ++i) ::usleep(1000);
  if (!Exists(kTrackerLock)) throw std::runtime_error("KORVA did not open " + std::string(kTrackerDevice));
}

double Ms(int64_t ns) { return static_cast<double>(ns) / 1e6; }

// One click and, at the same moment, the floor's run. False when the button
// sent nothing at all; a run that sent other bytes counts as a wrong one.
bool RunOnce(TKorvaProcess& korva, TRecordingPty& floorPty, int floorLine,
             const TCommandCase& command, TCommandFigures& figures) {
  TRecordingPty& line = korva.Port(kTrackerDevice);
  const std::size_t before = line.Bytes().size(), floorBefore = floorPty.Bytes().size();
  const std::size_t count = command.paced.bytes.size();
  const TMillis patience = Duration(command.paced) + TMillis(3000);
  const TProcessFigures start = ReadProcessFigures(korva.Pid());
  // The floor starts with KORVA's first byte and so keeps step with it: a
  // stall of the machine or the recorder meets both at the same moment.
  TSleepLoopRun floorRun;
  std::thread floor([&] {
    if (line.WaitForBytes(before + 1, patience)) floorRun = SendFromSleepLoop(floorLine, command.paced);
  });
  korva.ClickControl(command.button);
  const bool arrived = line.WaitForBytes(before + 1, patience) &&
                       line.WaitForBytes(before + count, patience);
  if (arrived) {
    // No screen reads while KORVA keeps its last pause: reading every
    // 0.2 ms would load the very machine whose pacing is measured.
    const int64_t lastPauseNs = int64_t{command.paced.bytes.back().pauseAfterMs} * 1000000;
    const int64_t lampDueNs = line.Bytes().back().ns + lastPauseNs - kLampReadAheadNs;
    std::this_thread::sleep_for(std::chrono::nanoseconds(std::max<int64_t>(0, lampDueNs - MonotonicNs())));
    korva.WaitForColour(LampCentre(command.lamp), kGrey, patience);
  }
  floor.join();
  floorPty.WaitForBytes(floorBefore + count, TMillis(2000));
  // The handler's last steps after its lamp and the window's repaint.
  std::this_thread::sleep_for(TMillis(100));
  const TProcessFigures end = ReadProcessFigures(korva.Pid());
  const std::size_t lengths = figures.korva.lengthMs.size(), floorLengths = figures.floor.lengthMs.size();
  figures.floor.AddRun(Since(floorPty, floorBefore), command.paced, floorRun.writtenNs);
  figures.korva.AddRun(Since(line, before), command.paced, command.valuesKnown);
  if (figures.korva.lengthMs.size() > lengths && figures.floor.lengthMs.size() > floorLengths)
    figures.lengthOverFloorMs.push_back(figures.korva.lengthMs.back() - figures.floor.lengthMs.back());
  if (!arrived) return line.Bytes().size() > before;
  figures.cpuMs.push_back(Ms(end.cpuNs - start.cpuNs));
  figures.floorCpuMs.push_back(Ms(floorRun.cpuNs));
  figures.cpuTickMs.push_back(Ms((end.cpuTicks - start.cpuTicks) * NsPerClockTick()));
  return true;
}

}  // namespace

std::vector<TCommandFigures> MeasurePacing(int writeConfRuns, int commandRuns,
                                           const TProgress& progress) {
  TKorvaOptions options;
  options.devices = {kTrackerDevice};
  TKorvaProcess korva(options);
  TRecordingPty floorPty(kFloorDevice);
  const int floorLine = ::open(kFloorDevice, O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (floorLine < 0) throw std::runtime_error("cannot open the floor's line");
  korva.Start();
  if (!korva.WaitForWindow()) throw std::runtime_error("KORVA showed no window: " + korva.Stderr());
  OpenTrackerPort(korva);
  std::vector<TCommandFigures> all;
  for (const TCommandCase& command : Cases(writeConfRuns, commandRuns)) {
    TCommandFigures figures;
    figures.name = command.name;
    for (int run = 0; run < command.runs; ++run) {
      progress("pacing: " + command.name + " " + std::to_string(run + 1) + "/" +
               std::to_string(command.runs));
      const bool sent = RunOnce(korva, floorPty, floorLine, command, figures);
      if (run == 0) figures.sent = sent;
      if (!figures.sent) break;  // a button that sends nothing: more runs tell nothing
    }
    all.push_back(std::move(figures));
  }
  ::close(floorLine);
  return all;
}
