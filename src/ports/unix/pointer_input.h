// The pointer as a Unix port hands it to the core, which knows it from Windows: the bit of a
// pressed button, and the pointer's display count, which Windows keeps for every program and a
// Unix port keeps itself.
#pragma once

#include <cstdint>

#include "platform/saver_window.h"

namespace fq {

// The codes a display system gives the buttons Windows tells apart, but the last.
struct ButtonCodes {
  uint32_t left, right, middle, back;
};

// The bit of `button` as SaverEvents receive it. Any button but those of `codes` counts as the
// forward button (kX2Button), the last that Windows knows.
constexpr int16_t ButtonBit(const ButtonCodes& codes, uint32_t button) {
  if (button == codes.left) return kLeftButton;
  if (button == codes.right) return kRightButton;
  if (button == codes.middle) return kMiddleButton;
  if (button == codes.back) return kX1Button;
  return kX2Button;
}

// The count SaverWindow::ChangePointerCount moves: the pointer shows while it is 0 or more.
class PointerCount {
 public:
  int32_t Change(bool show) { return count_ += show ? 1 : -1; }
  bool hidden() const { return count_ < 0; }

 private:
  int32_t count_ = 0;
};

}  // namespace fq
