// frmSaver: the full-screen saver window's input handlers, its pointer tracking, and the
// unload that ends the saver (close-request handler, then close handler, then the end).
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/saver_window.h"

namespace fq {

class SettingsDialog;
class SystemServices;
class WorkSurfaces;

inline constexpr int16_t kTrue = -1;
inline constexpr int16_t kFalse = 0;

// How far the pointer may move in one event (pixels, inclusive) on either axis without
// ending the saver.
inline constexpr float kDismissalTolerance = 20;

// The dismissal rule for pointer moves. The first move event comes wherever the pointer
// happens to be, so it only sets the reference point; so does the move after a refused
// password (`ResetMouse`). Flags are 0 or -1.
struct PointerTracking {
  int16_t PositionKnown = kFalse;
  int16_t ResetMouse = kFalse;
  int16_t LastX = 0;
  int16_t LastY = 0;

  // Takes one move event; true when it lies more than the tolerance from the remembered
  // position on both axes, which asks for the unload (the position is then kept).
  bool IsDismissal(float x, float y);
  // The system moved the pointer: where it put it is the reference point from now on.
  void Rest(float x, float y);

 private:
  void Remember(float x, float y);
};

// The saver window as the core declares it; start-up sizes it to the screen before it shows.
inline constexpr WindowDesign kSaverDesign{"Animation Code", {244, 141, 532, 368}};

class SaverForm : public SaverEvents, public PointerTracking {
 public:
  SaverForm(SaverWindow& window, SystemServices& system, WorkSurfaces& surfaces,
            SettingsDialog& dialog)
      : window_(window), system_(system), surfaces_(surfaces), dialog_(dialog) {}

  // Loads the window hidden; no effect when it is loaded already.
  void Load();
  // Loads the window hidden if need be, then gives it `title`.
  void SetTitle(std::string_view title);

  // Every key, whatever the key and shift state, asks for the unload.
  void KeyDown(int16_t key_code, int16_t shift) override;
  // Every button, wherever the pointer is, asks for the unload.
  void MouseDown(int16_t button, int16_t shift, float x, float y) override;
  // Asks for the unload only on a jump of more than the tolerance on both axes at once.
  void MouseMove(int16_t button, int16_t shift, float x, float y) override;
  // The system's close request takes the same path as a dismissal; its reason is not read.
  void CloseRequested(int16_t reason) override;
  void PointerPlaced(float x, float y) override { Rest(x, y); }

  // Runs the close-request handler; unless it cancels, the close handler, which ends the
  // process. Returns only when cancelled, or when the window is not loaded or is being
  // unloaded already (then nothing runs).
  void Unload();

  // Both stay 0 in the product by design: since the NT family the password is the system's to
  // ask, when it locks the session, not the saver's.
  // Nonzero: the screen-saver password must be given before the saver closes.
  int16_t PwdProtected = 0;
  // 2: a close request passes without the password check.
  int32_t CloseMode = 0;

 private:
  // The close-request handler: sets `cancel` to -1 to keep the window.
  void QueryUnload(int16_t& cancel);
  // The close handler: shows the cursor, unloads the windows and ends the process.
  void CloseAndEnd();

  SaverWindow& window_;
  SystemServices& system_;
  WorkSurfaces& surfaces_;
  SettingsDialog& dialog_;
  bool loaded_ = false;
  bool unloading_ = false;
};

}  // namespace fq
