#include "GapFigures.h"

#include <algorithm>

void TGapFigures::AddRun(const std::vector<blackbox::TStampedByte>& recorded,
                         const TPacedBytes& expected, bool valuesKnown) {
  ++runs;
  bool right = recorded.size() == expected.bytes.size();
  for (std::size_t i = 0; right && valuesKnown && i < recorded.size(); ++i)
    right = recorded[i].byte == expected.bytes[i].byte;
  if (!right || recorded.empty()) {
    ++wrongRuns;
    return;
  }
  std::vector<double> run;
  // The most that the gaps before this one, back to some byte, hold beyond
  // their pauses.
  double bestSpareMs = 0;
  for (std::size_t i = 0; i + 1 < recorded.size(); ++i) {
    const int64_t gapNs = recorded[i + 1].ns - recorded[i].ns;
    const double overMs =
        static_cast<double>(gapNs - int64_t{expected.bytes[i].pauseAfterMs} * 1000000) / 1e6;
    run.push_back(overMs);
    if (overMs < 0) {
      ++shortGaps;
      const bool readTogether = gapNs == 0;
      const bool lateStamp = i > 0 && bestSpareMs >= -overMs;
      if (!readTogether && !lateStamp) unexplainedShortfallsMs.push_back(-overMs);
    }
    bestSpareMs = i == 0 ? overMs : std::max(overMs, overMs + bestSpareMs);
  }
  overshootMs.insert(overshootMs.end(), run.begin(), run.end());
  innerPausesMs = static_cast<double>(expected.InnerPausesNs()) / 1e6;
  const double lengthNs = static_cast<double>(recorded.back().ns - recorded.front().ns);
  lengthMs.push_back(lengthNs / 1e6);
  if (innerPausesMs > 0) lengthRatios.push_back(lengthNs / 1e6 / innerPausesMs);
}

void TGapFigures::AddRun(const std::vector<blackbox::TStampedByte>& recorded,
                         const TPacedBytes& expected, const std::vector<int64_t>& writtenNs) {
  AddRun(recorded, expected, true);
  for (std::size_t i = 0; i < recorded.size() && i < writtenNs.size(); ++i)
    worstStampLagMs = std::max(worstStampLagMs, static_cast<double>(recorded[i].ns - writtenNs[i]) / 1e6);
}
