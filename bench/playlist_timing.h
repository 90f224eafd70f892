#pragma once
// Timing helpers for the playlist benchmarks: run a body several times, print the median.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace rv::bench {

inline double medianMs(int runs, const std::function<void()>& body,
                       const std::function<void()>& setup = nullptr) {
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    if (setup) setup();
    auto t0 = std::chrono::steady_clock::now();
    body();
    auto t1 = std::chrono::steady_clock::now();
    ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
  }
  std::sort(ms.begin(), ms.end());
  return ms[ms.size() / 2];
}

inline void report(const char* what, double ms) { std::printf("%-58s %9.2f ms\n", what, ms); }

}  // namespace rv::bench
