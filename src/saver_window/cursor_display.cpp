#include "saver_window/cursor_display.h"

#include "platform/platform.h"

namespace fq {

void HideMouseCursor(Platform& platform) {
  while (platform.ShowCursor(false) >= -5) {
  }
}

void ShowMouseCursor(Platform& platform) {
  while (platform.ShowCursor(true) <= 5) {
  }
}

}  // namespace fq
