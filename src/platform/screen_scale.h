// The whole-number scale k at which a port shows the core's pixels (1/96 inch) on a dense
// screen: every block transfer is k times as large, and the art is drawn for k. Both ports
// choose k here.
#pragma once

#include <cstdint>

namespace fq {

inline constexpr int kMaxScale = 3;

// By the primary monitor's DPI: 1 below 144 (150%), 2 up to 287, 3 from 288 (300%).
constexpr int ScaleForDpi(int dpi) {
  if (dpi >= 288) return 3;
  if (dpi >= 144) return 2;
  return 1;
}

// XScreenSaver's rule for its sprite hacks: a window wider than 2560 or taller than 1600 pixels
// gets doubled art.
constexpr int ScaleForWindow(int32_t width, int32_t height) {
  return width > 2560 || height > 1600 ? 2 : 1;
}

}  // namespace fq
