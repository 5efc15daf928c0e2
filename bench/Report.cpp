#include "Report.h"

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

// Judged against the floor: a gap below its pause counts against KORVA only
// when no late stamp explains it, and a p99 over the goal only when the
// floor's, at the same moments, is not as far over.
std::string PacingResult(const TCommandFigures& command) {
  const TGapFigures& korva = command.korva;
  std::vector<std::string> misses, notes;
  if (korva.wrongRuns > 0) misses.push_back(std::to_string(korva.wrongRuns) + " runs sent other bytes");
  const int unexplained = korva.shortGaps - korva.shortAfterLateStamp;
  if (unexplained > 0) misses.push_back(std::to_string(unexplained) + " gaps below their pause");
  if (korva.shortAfterLateStamp > 0)
    notes.push_back(std::to_string(korva.shortAfterLateStamp) + " short after a late stamp; floor " +
                    std::to_string(command.floor.shortGaps));
  const double p99 = Summarise(korva.overshootMs).p99;
  const double floorP99 = Summarise(command.floor.overshootMs).p99;
  if (p99 > kOvershootP99Ms) {
    if (floorP99 > kOvershootP99Ms && p99 <= floorP99 + kOvershootP99Ms)
      notes.push_back("p99 over, as the floor's: the recorder");
    else
      misses.push_back("p99");
  }
  std::string result = misses.empty() ? "met" : "MISSED: " + Join(misses, ", ");
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
  const TDistribution korva = Summarise(writeConf.korva.lengthRatios);
  const TDistribution floor = Summarise(writeConf.floor.lengthRatios);
  std::string result = RatioResult(korva.max, kWriteConfLength) + " (worst run)";
  if (korva.max > kWriteConfLength && floor.max > kWriteConfLength && korva.median <= kWriteConfLength)
    result += "; median met, the floor's worst run over too";
  table.Row("\"Write Conf.\" first to last byte", LengthText(writeConf.korva),
            "floor: " + LengthText(writeConf.floor),
            "≤ " + Fixed(kWriteConfLength, 3) + " × " + Fixed(writeConf.korva.innerPausesMs, 0) + " ms",
            result);
  const TDistribution cpu = Summarise(writeConf.cpuMs);
  const TDistribution ticks = Summarise(writeConf.cpuTickMs);
  table.Row("CPU while sending one \"Write Conf.\"",
            "median " + Fixed(cpu.median, 2) + " ms, worst " + Fixed(cpu.max, 2) +
                " ms (stat ticks: median " + Fixed(ticks.median, 0) + ", worst " +
                Fixed(ticks.max, 0) + " ms)",
            "-", "≤ " + Fixed(kSendingCpuMs, 0) + " ms",
            cpu.max <= kSendingCpuMs ? "met (worst run)" : "MISSED (worst run)");
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
  table.Note("bytes to a second recording line at the same moments (1 ns timer slack, absolute deadlines):");
  table.Note("it shows what the recorder itself adds. A gap below its pause counts against KORVA only");
  table.Note("when no late stamp explains it (the byte before read late, with its successor or after a");
  table.Note("gap as much too long); a p99 over the goal only when the floor's is not as far over.");
  table.Note("CPU: schedstat over all threads, from the click to 100 ms after the lamp turned grey.");
  table.Note("Wake-ups: voluntary + involuntary context switches over all threads, from /proc.");
  return table;
}
