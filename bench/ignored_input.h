// The benchmarks' saver window ends by itself, not on input.
#pragma once

#include "platform/saver_window.h"

namespace fq::bench {

class IgnoredInput : public SaverEvents {
 public:
  void KeyDown(int16_t, int16_t) override {}
  void MouseDown(int16_t, int16_t, float, float) override {}
  void MouseMove(int16_t, int16_t, float, float) override {}
  void CloseRequested(int16_t) override {}
  void PointerPlaced(float, float) override {}
};

}  // namespace fq::bench
