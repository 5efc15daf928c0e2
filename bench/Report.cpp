#include "Report.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "Distribution.h"

namespace {

// The goals.
constexpr double kOvershootP99Ms = 0.5;
constexpr double kWriteConfLength = 1.004;
constexpr double kSendingCpuMs = 20;
constexpr double kStartUpRatio = 1.3;
constexpr double kPeakMemoryRatio = 1.15;

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string Spread(const std::vector<double>& overshootMs) {
  const TDistribution d = Summarise(overshootMs);
  return "min " + Fixed(d.min, 3) + " / med " + Fixed(d.median, 3) + " / p99 " + Fixed(d.p99, 3) +
         " / max " + Fixed(d.max, 3) + " ms";
}

std::string Join(const std::vector<std::string>& parts, const std::string& glue) {
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : glue) + part;
  return text;
}

int CountOver(const std::vector<double>& valuesMs, double limitMs) {
  return static_cast<int>(std::count_if(valuesMs.begin(), valuesMs.end(),
                                        [limitMs](double value) { return value > limitMs; }));
}

// Judged against the floor, which runs in step with KORVA. A stall that
// meets one line and not the other can still put a gap or two apart; as a
// p99 does, the judgement lets 1 % of the gaps (at least one) be anything.
// A gap below its pause counts when no late stamp explains it and it falls
// shorter than the recorder was seen to stamp a floor byte late; a gap over
// the p99 goal counts beyond as many as the floor has.
std::string PacingResult(const TCommandFigures& command) {
  const TGapFigures &korva = command.korva, &floor = command.floor;
  const int gaps = static_cast<int>(korva.overshootMs.size());
  const int allowance = std::max(1, (gaps + 99) / 100);
  std::vector<std::string> misses, notes;
  if (korva.wrongRuns > 0) misses.push_back(std::to_string(korva.wrongRuns) + " runs sent other bytes");
  const int deeper = CountOver(korva.unexplainedShortfallsMs, floor.worstStampLagMs);
  const std::string shortText =
      std::to_string(korva.shortGaps) + " gaps short (floor " + std::to_string(floor.shortGaps) +
      "), " + std::to_string(deeper) + " by more than the recorder's " +
      Fixed(floor.worstStampLagMs, 3) + " ms lag";
  if (deeper > allowance)
    misses.push_back(shortText);
  else if (korva.shortGaps > 0)
    notes.push_back(shortText);
  const int over = CountOver(korva.overshootMs, kOvershootP99Ms);
  const int floorOver = CountOver(floor.overshootMs, kOvershootP99Ms);
  const std::string overText = std::to_string(over) + " gaps over " + Fixed(kOvershootP99Ms, 1) +
                               " ms (floor " + std::to_string(floorOver) + ")";
  if (Summarise(korva.overshootMs).p99 > kOvershootP99Ms) {
    if (over > floorOver + allowance)
      misses.push_back("p99: " + overText);
    else
      notes.push_back("p99 over, as the floor's: " + overText);
  }
  std::string result = misses.empty() ? "met" : "MISSED: " + Join(misses, "; ");
  if (!notes.empty()) result += " (" + Join(notes, "; ") + ")";
  return result;
}

std::string RatioResult(double ratio, double goal) {
  return Fixed(ratio, 3) + " ×: " + (ratio <= goal ? "met" : "MISSED");
}

void PacingRows(const TCommandFigures& command, TFigureTable& table) {
  const std::string figure = "pacing overshoot, " + command.name;
  if (!command.sent) {
    table.Row(figure, "nothing on the line: the button sends nothing",
              "floor: " + Spread(command.floor.overshootMs), "", "not measured");
    return;
  }
  table.Row(figure + " (" + std::to_string(command.korva.runs) + " runs)",
            Spread(command.korva.overshootMs), "floor: " + Spread(command.floor.overshootMs),
            "no gap < pause; p99 ≤ " + Fixed(kOvershootP99Ms, 1) + " ms", PacingResult(command));
}

std::string LengthText(const TGapFigures& gaps) {
  const TDistribution ratio = Summarise(gaps.lengthRatios);
  return "median " + Fixed(Median(gaps.lengthMs), 1) + " ms = " + Fixed(ratio.median, 4) +
         " ×, worst " + Fixed(ratio.max, 4) + " ×";
}

void WriteConfRows(const TCommandFigures& writeConf, TFigureTable& table) {
  if (!writeConf.sent) return;
  // The floor's run kept step with KORVA's and met the same stalls: what
  // KORVA's run took beyond it is KORVA's own.
  const double pausesMs = writeConf.korva.innerPausesMs;
  const double allowedMs = (kWriteConfLength - 1) * pausesMs;
  const TDistribution korva = Summarise(writeConf.korva.lengthRatios);
  const TDistribution beyond = Summarise(writeConf.lengthOverFloorMs);
  std::string result = RatioResult(korva.max, kWriteConfLength) + " (worst run)";
  if (korva.max > kWriteConfLength)
    result = Fixed(korva.max, 3) + " ×" +
             (beyond.median <= allowedMs ? ", as the floor's: KORVA's own part within "
                                         : ", MISSED: KORVA's own part over ") +
             Fixed(allowedMs, 1) + " ms (median run)";
  table.Row("\"Write Conf.\" first to last byte", LengthText(writeConf.korva),
            "floor: " + LengthText(writeConf.floor) + "; KORVA less floor a run: median " +
                Fixed(beyond.median, 1) + ", worst " + Fixed(beyond.max, 1) + " ms",
            "≤ " + Fixed(kWriteConfLength, 3) + " × " + Fixed(writeConf.korva.innerPausesMs, 0) + " ms",
            result);
  const TDistribution cpu = Summarise(writeConf.cpuMs);
  const TDistribution ticks = Summarise(writeConf.cpuTickMs);
  const TDistribution floorCpu = Summarise(writeConf.floorCpuMs);
  // Each wake-up costs what the machine makes it cost; the floor's thread
  // wakes as often, so what KORVA spends beyond it is its own.
  std::string cpuResult = cpu.median <= kSendingCpuMs ? "met" : "MISSED";
  if (cpu.median > kSendingCpuMs && cpu.median - floorCpu.median <= kSendingCpuMs)
    cpuResult = "over, but within " + Fixed(kSendingCpuMs, 0) + " ms of the floor's";
  table.Row("CPU while sending one \"Write Conf.\"",
            "median " + Fixed(cpu.median, 2) + " ms, worst " + Fixed(cpu.max, 2) +
                " ms (stat ticks: median " + Fixed(ticks.median, 0) + ", worst " +
                Fixed(ticks.max, 0) + " ms)",
            "floor's thread: median " + Fixed(floorCpu.median, 2) + " ms, worst " +
                Fixed(floorCpu.max, 2) + " ms",
            "≤ " + Fixed(kSendingCpuMs, 0) + " ms", cpuResult + " (median run)");
}

std::string StartText(const TStartUpFigures& start) {
  const TDistribution d = Summarise(start.startMs);
  std::string text = "median " + Fixed(d.median, 1) + " ms (" + Fixed(d.min, 1) + " to " +
                     Fixed(d.max, 1) + ", " + std::to_string(d.count) + " starts)";
  if (start.failed > 0) text += ", " + std::to_string(start.failed) + " without a window";
  return text;
}

std::string PeakText(const TStartUpFigures& start) {
  const TDistribution d = Summarise(start.peakKb);
  return "median " + Fixed(d.median / 1024, 2) + " MiB (" + Fixed(d.min / 1024, 2) + " to " +
         Fixed(d.max / 1024, 2) + ")";
}

void StartRows(const TBenchFigures& figures, TFigureTable& table) {
  const double korvaMs = Median(figures.korvaStart.startMs), bareMs = Median(figures.bareStart.startMs);
  table.Row("start-up, exec to first paint", StartText(figures.korvaStart),
            "bare window: " + StartText(figures.bareStart), "≤ " + Fixed(kStartUpRatio, 2) + " ×",
            RatioResult(korvaMs / bareMs, kStartUpRatio));
  const double korvaKb = Median(figures.korvaStart.peakKb), bareKb = Median(figures.bareStart.peakKb);
  table.Row("peak memory (VmHWM) at first paint", PeakText(figures.korvaStart),
            "bare window: " + PeakText(figures.bareStart), "≤ " + Fixed(kPeakMemoryRatio, 2) + " ×",
            RatioResult(korvaKb / bareKb, kPeakMemoryRatio));
}

std::string IdleText(const TIdleFigures& idle) {
  if (!idle.shown) return "no window";
  return std::to_string(idle.idle) + " (" + std::to_string(idle.threads) + " threads; " +
         std::to_string(idle.whileBlinking) + " in " + std::to_string(kBlinkingSeconds) +
         " s while blinking)";
}

void IdleRow(const TBenchFigures& figures, TFigureTable& table) {
  const TIdleFigures& korva = figures.korvaIdle;
  std::string result = "MISSED";
  if (korva.shown && korva.idle == 0) result = "met";
  else if (korva.shown && korva.idle <= figures.bareIdle.idle) result = "as the bare window's: the toolkit's";
  table.Row("idle wake-ups over " + std::to_string(kIdleSeconds) + " s, cursor no longer blinking",
            IdleText(korva), "bare window: " + IdleText(figures.bareIdle), "0 of its own", result);
}

}  // namespace

TFigureTable Report(const TBenchFigures& figures) {
  TFigureTable table;
  for (const TCommandFigures& command : figures.pacing) PacingRows(command, table);
  if (!figures.pacing.empty()) WriteConfRows(figures.pacing.front(), table);
  StartRows(figures, table);
  IdleRow(figures, table);
  table.Note("Overshoot: each gap between two bytes as the recording end of the line stamped them,");
  table.Note("minus the pause the command keeps there. The floor is a bare sleep loop writing the same");
  table.Note("bytes to a second recording line, started by KORVA's first byte and so in step with it");
  table.Note("(1 ns timer slack, absolute deadlines): it shows what the recorder and the machine add.");
  table.Note("A gap below its pause counts against KORVA only when no late stamp explains it (the byte");
  table.Note("before it read with the next, or the time from an earlier byte holding all the pauses)");
  table.Note("and it is short by more than the recorder was seen to stamp a floor byte late; a gap over");
  table.Note("the p99 goal only beyond as many as the floor has. As a p99 does, the verdict lets 1 % of");
  table.Note("the gaps (at least one) be anything: a stall can meet one line and miss the other.");
  table.Note("CPU: schedstat over all threads, from the click to 100 ms after the lamp turned grey;");
  table.Note("the floor's: its thread's CPU clock over the same bytes and pauses.");
  table.Note("Wake-ups: voluntary + involuntary context switches over all threads, from /proc.");
  return table;
}
