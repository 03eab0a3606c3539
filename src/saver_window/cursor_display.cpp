#include "saver_window/cursor_display.h"

#include "platform/saver_window.h"

namespace fq {

void HideMouseCursor(SaverWindow& window) {
  while (window.ChangePointerCount(false) >= -5) {
  }
}

void ShowMouseCursor(SaverWindow& window) {
  while (window.ChangePointerCount(true) <= 5) {
  }
}

}  // namespace fq
