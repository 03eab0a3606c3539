#include "saver_window/saver_form.h"

#include <optional>
#include <string>

#include "saver_window/cursor_display.h"
#include "startup/number_text.h"

namespace fq {
namespace {

// The pointer may wander this far (pixels, inclusive) on either axis without ending the saver.
constexpr float kMoveTolerance = 20;

bool Near(float position, int16_t remembered) {
  return remembered - kMoveTolerance <= position && position <= remembered + kMoveTolerance;
}

}  // namespace

void SaverForm::Load() { platform_.LoadSaverWindow(*this); }

void SaverForm::KeyDown(int16_t, int16_t) { Unload(); }

void SaverForm::MouseDown(int16_t, int16_t, float, float) { Unload(); }

void SaverForm::CloseRequested(int16_t) { Unload(); }

// The window's first move event comes wherever the pointer happens to be, so it only sets
// the reference point; so does the move after a refused password.
void SaverForm::MouseMove(int16_t, int16_t, float x, float y) {
  if (ResetMouse != kFalse) {
    ResetMouse = kFalse;
    Remember(x, y);
    return;
  }
  if (PositionKnown == kFalse) {
    Remember(x, y);
    PositionKnown = kTrue;
    return;
  }
  // Compared with the event's own values, before any rounding.
  if (Near(x, LastX) || Near(y, LastY)) {
    Remember(x, y);
    return;
  }
  Unload();
}

void SaverForm::Remember(float x, float y) {
  LastX = RoundToInt16(x, "The pointer's x");
  LastY = RoundToInt16(y, "The pointer's y");
}

void SaverForm::Unload() {
  if (unloading_ || !platform_.SaverWindowLoaded()) return;
  unloading_ = true;
  int16_t cancel = kFalse;
  QueryUnload(cancel);
  if (cancel == kFalse) CloseAndEnd();
  unloading_ = false;
}

void SaverForm::QueryUnload(int16_t& cancel) {
  if (CloseMode == 2 || PwdProtected == 0) return;
  ResetMouse = kTrue;
  ShowMouseCursor(platform_);
  // Only the low 16 bits of the verdict count. Where the password service cannot be loaded
  // the password counts as accepted: a missing library must not trap the user behind the saver.
  const std::optional<int32_t> verdict = platform_.VerifyScreenSaverPassword();
  const bool accepted = !verdict || (*verdict & 0xFFFF) != 0;
  if (accepted) return;
  HideMouseCursor(platform_);
  cancel = kTrue;
}

// frmSaver itself is the window being unloaded, so unloading it again here would do nothing;
// it goes with the process, as do the references to the three windows.
void SaverForm::CloseAndEnd() {
  ShowMouseCursor(platform_);
  // Exact text, case included; an unset variable reads as empty and differs too.
  if (platform_.EnvironmentVariable("os") != "Windows_NT" && PwdProtected != 0) {
    platform_.ClearScreenSaverRunning();
  }
  if (platform_.ConfigDialogLoaded()) platform_.DestroyConfigDialog();
  if (platform_.WorkSurfacesLoaded()) platform_.UnloadWorkSurfaces();
  platform_.EndProcessNow();
}

}  // namespace fq
