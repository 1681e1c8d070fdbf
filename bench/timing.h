#pragma once
// Median timing of repeated runs, for figures printed against a baseline measured
// in the same run.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace bench {

template <typename F>
double MedianMicroseconds(int runs, F&& body) {
  std::vector<double> times;
  times.reserve(static_cast<std::size_t>(runs));
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    body();
    const auto stop = std::chrono::steady_clock::now();
    times.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
  }
  std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
  return times[static_cast<std::size_t>(runs / 2)];
}

inline void Report(const char* what, double micros, double baseline) {
  std::printf("%-52s %10.2f us   ratio %6.2f\n", what, micros, micros / baseline);
}

}  // namespace bench
