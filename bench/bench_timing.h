// Small timing helpers shared by the benchmark programs, and the article body they post.
#pragma once

#include <algorithm>
#include <chrono>
#include <numeric>
#include <vector>

namespace pagolin::bench {

using Clock = std::chrono::steady_clock;

inline double Ms(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}

inline double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

inline double Mean(const std::vector<double>& v) {
  return std::accumulate(v.begin(), v.end(), 0.0) / static_cast<double>(v.size());
}

// The body of the articles the posting benchmarks post (one line for dot-stuffing).
inline const char* kBody =
    "Version 1.12 of the example program is out.\r\n"
    "\r\n"
    "What is new:\r\n"
    "- faster pages\r\n"
    "- a new look\r\n"
    ".dotted line\r\n"
    "\r\n"
    "-- \r\n"
    "Example Software";

}  // namespace pagolin::bench
