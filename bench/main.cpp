// ./build.sh bench: KORVA measured from outside, beside baselines taken in
// the same run, as one table on standard output and in the file named by
// the first argument. It asserts nothing.
#include <cstdio>
#include <exception>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

#include "Report.h"
#include "SandboxCheck.h"

namespace {

constexpr int kWriteConfRuns = 10, kCommandRuns = 20, kStartUps = 20;

// On a terminal one line that keeps changing; in a log one line a stage.
TProgress ProgressOnStandardError() {
  const bool terminal = ::isatty(STDERR_FILENO) == 1;
  auto lastStage = std::make_shared<std::string>();
  return [terminal, lastStage](const std::string& text) {
    if (terminal) {
      std::fprintf(stderr, "\r\033[K%s", text.c_str());
      return;
    }
    const std::string stage = text.substr(0, text.find(':'));
    if (stage != *lastStage) std::fprintf(stderr, "%s ...\n", stage.c_str());
    *lastStage = stage;
  };
}

}  // namespace

int main(int argc, char** argv) {
  RequireSandbox(argv[0]);
  const std::string output = argc > 1 ? argv[1] : "bench.txt";
  const TProgress progress = ProgressOnStandardError();
  TBenchFigures figures;
  try {
    figures.pacing = MeasurePacing(kWriteConfRuns, kCommandRuns, progress);
    MeasureStartUps(kStartUps, figures.korvaStart, figures.bareStart, progress);
    MeasureIdle(figures.korvaIdle, figures.bareIdle, progress);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "\nbenchmark stopped: %s\n", e.what());
    return 1;
  }
  if (::isatty(STDERR_FILENO) == 1) std::fprintf(stderr, "\r\033[K");
  const std::string table = Report(figures).Text();
  std::fputs(table.c_str(), stdout);
  std::ofstream(output) << table;
  return 0;
}
