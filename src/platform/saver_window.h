// The saver window `frmSaver`: a borderless black window that keeps no image of its own, so
// that what is drawn on it shows at once; its input reaches the core as plain values.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/extent.h"

namespace fq {

// Pixels, from the top-left corner of the primary screen.
struct PixelRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  bool operator==(const PixelRect&) const = default;
};

// The window as the core declares it, before start-up sizes and shows it.
struct WindowDesign {
  std::string_view title;
  PixelRect rect;
};

// Button and shift codes as the handlers receive them: one bit per button or key held.
inline constexpr int16_t kLeftButton = 1, kRightButton = 2, kMiddleButton = 4, kX1Button = 8,
                         kX2Button = 16;
inline constexpr int16_t kShiftKey = 1, kControlKey = 2, kAltKey = 4;
// Why a close was asked for: from the window's own menu or frame, by the program itself (it
// lost activation), or by the session's end.
inline constexpr int16_t kCloseFromMenu = 0, kCloseFromCode = 1, kCloseForSessionEnd = 2;

// Input that reaches the saver window.
class SaverEvents {
 public:
  virtual ~SaverEvents() = default;
  virtual void KeyDown(int16_t key_code, int16_t shift) = 0;
  // x, y: the pointer in pixels, in one space across all monitors that no window's move
  // changes: the screen's, from the corner where the window's client area belongs.
  virtual void MouseDown(int16_t button, int16_t shift, float x, float y) = 0;
  virtual void MouseMove(int16_t button, int16_t shift, float x, float y) = 0;
  // The system asks the window to close (close box, Alt+F4, the session's end...).
  virtual void CloseRequested(int16_t reason) = 0;
  // The system put the pointer at x, y (as above) itself, as when its monitor went away: no
  // move of the user's, so it only becomes the pointer's resting point.
  virtual void PointerPlaced(float x, float y) = 0;
};

class SaverWindow {
 public:
  virtual ~SaverWindow() = default;

  virtual Extent PrimaryScreenSize() = 0;
  // Creates the window hidden, titled and placed as `design` says, unless it exists; either
  // way its input goes to `events` from now on. Throws Fault when it cannot be created.
  virtual void LoadSaverWindow(const WindowDesign& design, SaverEvents& events) = 0;
  // Throws Fault when the title cannot be set.
  virtual void SetSaverTitle(std::string_view title) = 0;
  // Outer size in pixels; the position is not touched.
  virtual void SetSaverOuterSize(Extent size) = 0;
  virtual Extent SaverOuterSize() = 0;
  // The client area in pixels.
  virtual Extent SaverClientSize() = 0;
  // True when the client area's size is no longer the one SaverClientSize last returned: the
  // system changed it (the primary monitor was re-moded, a given window was resized).
  virtual bool SaverResized() = 0;
  // Shows the window and returns at once (not modal).
  virtual void ShowSaver() = 0;
  // Maximised, the window covers the whole primary screen.
  virtual void MaximiseSaver() = 0;
  // Paints the window black at once.
  virtual void RepaintSaver() = 0;
  // Puts the window above every window that is not topmost and keeps it there, without
  // moving or sizing it.
  virtual void MakeSaverTopmost() = 0;
  // Raises (true) or lowers (false) the pointer's display count by one and returns the new
  // count. The pointer shows while the count is 0 or more; other programs may move it too.
  virtual int32_t ChangePointerCount(bool show) = 0;
};

}  // namespace fq
