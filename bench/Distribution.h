#pragma once
// The few order statistics the benchmark prints.

#include <cstddef>
#include <vector>

struct TDistribution {
  std::size_t count = 0;
  double min = 0, median = 0, p99 = 0, max = 0;
};

// Nearest-rank percentiles, so every figure is a value that was measured.
TDistribution Summarise(std::vector<double> values);
double Median(std::vector<double> values);
