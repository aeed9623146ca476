#pragma once
// Wall-clock timing for the Windows benchmarks: samples in milliseconds,
// printed as best and median.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

inline double NowMilliseconds() {
  static const double ticksPerMillisecond = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / ticksPerMillisecond;
}

template <typename Work>
double Time(Work&& work) {
  const double start = NowMilliseconds();
  work();
  return NowMilliseconds() - start;
}

struct Figures {
  std::vector<double> samples;

  double Median() const {
    if (samples.empty()) return 0;
    std::vector<double> sorted = samples;
    std::sort(sorted.begin(), sorted.end());
    return sorted[sorted.size() / 2];
  }
  void Print(const char* what) const {
    if (samples.empty()) return static_cast<void>(std::printf("%-58s none\n", what));
    std::printf("%-58s best %8.2f ms   median %8.2f ms\n", what,
                *std::min_element(samples.begin(), samples.end()), Median());
  }
};

inline void HandleQueuedMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}
