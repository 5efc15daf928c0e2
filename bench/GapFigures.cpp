#include "GapFigures.h"

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
  for (std::size_t i = 0; i + 1 < recorded.size(); ++i) {
    const int64_t gapNs = recorded[i + 1].ns - recorded[i].ns;
    const int64_t overNs = gapNs - int64_t{expected.bytes[i].pauseAfterMs} * 1000000;
    run.push_back(static_cast<double>(overNs) / 1e6);
    if (overNs >= 0) continue;
    ++shortGaps;
    const bool readTogether = gapNs == 0;
    const bool lateAfterLongGap = i > 0 && run[i - 1] >= -run[i];
    if (readTogether || lateAfterLongGap) ++shortAfterLateStamp;
  }
  overshootMs.insert(overshootMs.end(), run.begin(), run.end());
  innerPausesMs = static_cast<double>(expected.InnerPausesNs()) / 1e6;
  const double lengthNs = static_cast<double>(recorded.back().ns - recorded.front().ns);
  lengthMs.push_back(lengthNs / 1e6);
  if (innerPausesMs > 0) lengthRatios.push_back(lengthNs / 1e6 / innerPausesMs);
}
