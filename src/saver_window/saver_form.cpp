#include "saver_window/saver_form.h"

#include <optional>

#include "numbers/rounding.h"
#include "platform/settings_dialog.h"
#include "platform/system_services.h"
#include "platform/work_surfaces.h"
#include "saver_window/cursor_display.h"

namespace fq {
namespace {

bool Near(float position, int16_t remembered) {
  return remembered - kDismissalTolerance <= position &&
         position <= remembered + kDismissalTolerance;
}

}  // namespace

bool PointerTracking::IsDismissal(float x, float y) {
  if (ResetMouse != kFalse) {
    ResetMouse = kFalse;
    Remember(x, y);
    return false;
  }
  if (PositionKnown == kFalse) {
    Remember(x, y);
    PositionKnown = kTrue;
    return false;
  }
  // Compared with the event's own values, before any rounding; near on one axis suffices.
  if (Near(x, LastX) || Near(y, LastY)) {
    Remember(x, y);
    return false;
  }
  return true;
}

void PointerTracking::Rest(float x, float y) {
  Remember(x, y);
  PositionKnown = kTrue;
}

void PointerTracking::Remember(float x, float y) {
  LastX = RoundToInt16(x, "The pointer's x");
  LastY = RoundToInt16(y, "The pointer's y");
}

void SaverForm::Load() {
  window_.LoadSaverWindow(kSaverDesign, *this);
  loaded_ = true;
}

void SaverForm::SetTitle(std::string_view title) {
  Load();
  window_.SetSaverTitle(title);
}

void SaverForm::KeyDown(int16_t, int16_t) { Unload(); }

void SaverForm::MouseDown(int16_t, int16_t, float, float) { Unload(); }

void SaverForm::CloseRequested(int16_t) { Unload(); }

void SaverForm::MouseMove(int16_t, int16_t, float x, float y) {
  if (IsDismissal(x, y)) Unload();
}

void SaverForm::Unload() {
  if (unloading_ || !loaded_) return;
  unloading_ = true;
  int16_t cancel = kFalse;
  QueryUnload(cancel);
  if (cancel == kFalse) CloseAndEnd();
  unloading_ = false;
}

void SaverForm::QueryUnload(int16_t& cancel) {
  if (CloseMode == 2 || PwdProtected == 0) return;
  ResetMouse = kTrue;
  ShowMouseCursor(window_);
  // Only the low 16 bits of the verdict count. Where the password service cannot be loaded
  // the password counts as accepted: a missing library must not trap the user behind the saver.
  const std::optional<int32_t> verdict = system_.VerifyScreenSaverPassword();
  const bool accepted = !verdict || (*verdict & 0xFFFF) != 0;
  if (accepted) return;
  HideMouseCursor(window_);
  cancel = kTrue;
}

// frmSaver itself is the window being unloaded, so unloading it again here would do nothing;
// it goes with the process, as do the references to the three windows.
void SaverForm::CloseAndEnd() {
  ShowMouseCursor(window_);
  // Exact text, case included; an unset variable reads as empty and differs too.
  if (system_.EnvironmentVariable("os") != "Windows_NT" && PwdProtected != 0) {
    system_.ClearScreenSaverRunning();
  }
  dialog_.DestroyConfigDialog();
  surfaces_.UnloadWorkSurfaces();
  system_.EndProcessNow();
}

}  // namespace fq
