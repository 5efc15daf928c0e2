#include "Distribution.h"

#include <algorithm>
#include <cmath>

namespace {

double Rank(const std::vector<double>& sorted, double fraction) {
  const double rank = std::ceil(fraction * static_cast<double>(sorted.size()));
  const std::size_t index = rank < 1 ? 0 : static_cast<std::size_t>(rank) - 1;
  return sorted[std::min(index, sorted.size() - 1)];
}

}  // namespace

TDistribution Summarise(std::vector<double> values) {
  TDistribution summary;
  summary.count = values.size();
  if (values.empty()) return summary;
  std::sort(values.begin(), values.end());
  summary.min = values.front();
  summary.median = Rank(values, 0.5);
  summary.p99 = Rank(values, 0.99);
  summary.max = values.back();
  return summary;
}

double Median(std::vector<double> values) { return Summarise(std::move(values)).median; }
