// What the Windows benchmarks share: a clock, the statistics of repeated runs, and the line that
// sets a measured figure beside its floor.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace morvi::bench {

inline double NowMs() {
  static const double perMs = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / perMs;
}

// Milliseconds that one run of f takes.
inline double TimeMs(const std::function<void()>& f) {
  const double start = NowMs();
  f();
  return NowMs() - start;
}

struct Stats {
  double median = 0, min = 0, max = 0;
};

inline Stats Summarise(std::vector<double> samples) {
  Stats s;
  if (samples.empty()) {
    return s;
  }
  std::sort(samples.begin(), samples.end());
  const std::size_t n = samples.size();
  s.median = n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
  s.min = samples.front();
  s.max = samples.back();
  return s;
}

inline void PrintHeader() {
  std::printf("%-44s %10s %10s %10s   %10s %10s %10s   %6s\n", "what (ms)", "median", "min", "max",
              "floor med", "floor min", "floor max", "ratio");
}

// One line of the table: the measured figure, its floor and their ratio of medians.
inline void PrintLine(const char* what, const Stats& measured, const Stats& floor) {
  std::printf("%-44s %10.3f %10.3f %10.3f   %10.3f %10.3f %10.3f   %6.2f\n", what, measured.median,
              measured.min, measured.max, floor.median, floor.min, floor.max,
              floor.median > 0 ? measured.median / floor.median : 0.0);
  std::fflush(stdout);
}

} // namespace morvi::bench
