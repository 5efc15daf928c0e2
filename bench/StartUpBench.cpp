#include "StartUpBench.h"

#include "BareWindowProgram.h"
#include "BlackBox.h"
#include "ProcessFigures.h"

using namespace blackbox;

namespace {

void StartOnce(TKorvaProcess& process, TStartUpFigures& figures) {
  process.Start();
  if (!process.WaitForWindow()) {
    ++figures.failed;
    process.Kill();
    return;
  }
  const TProcessFigures at = ReadProcessFigures(process.Pid());
  figures.startMs.push_back(static_cast<double>(process.FirstPaintNs() - process.ExecNs()) / 1e6);
  figures.peakKb.push_back(static_cast<double>(at.peakResidentKb));
  process.SendCloseRequest();
  if (!process.WaitForExit(TMillis(10000))) process.Kill();
}

}  // namespace

void MeasureStartUps(int runs, TStartUpFigures& korva, TStartUpFigures& bare,
                     const TProgress& progress) {
  TKorvaProcess korvaProcess, bareProcess(BareWindowOptions());
  TStartUpFigures warmUp;
  StartOnce(korvaProcess, warmUp);
  StartOnce(bareProcess, warmUp);
  for (int run = 0; run < runs; ++run) {
    progress("start-up: " + std::to_string(run + 1) + "/" + std::to_string(runs));
    const bool korvaFirst = run % 2 == 0;
    StartOnce(korvaFirst ? korvaProcess : bareProcess, korvaFirst ? korva : bare);
    StartOnce(korvaFirst ? bareProcess : korvaProcess, korvaFirst ? bare : korva);
  }
}
