// How the Windows and X11 benchmarks time and pace their loops, so that their figures compare.
#pragma once

#include <algorithm>
#include <vector>

namespace fq::bench {

inline constexpr int kRounds = 15;
inline constexpr int kFramesPerRound = 300;
inline constexpr int kPacedSpeed = 25;  // ms, the default Speed

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace fq::bench
