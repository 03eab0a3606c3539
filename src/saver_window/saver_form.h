// frmSaver: the full-screen saver window's input handlers, its pointer tracking, and the
// unload that ends the saver (close-request handler, then close handler, then the end).
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace fq {

inline constexpr int16_t kTrue = -1;
inline constexpr int16_t kFalse = 0;

class SaverForm : public SaverEvents {
 public:
  explicit SaverForm(Platform& platform) : platform_(platform) {}

  // Loads the window hidden; no effect when it is loaded already.
  void Load();

  // Every key, whatever the key and shift state, asks for the unload.
  void KeyDown(int16_t key_code, int16_t shift) override;
  // Every button, wherever the pointer is, asks for the unload.
  void MouseDown(int16_t button, int16_t shift, float x, float y) override;
  // Asks for the unload only on a jump of more than 20 pixels on both axes at once.
  void MouseMove(int16_t button, int16_t shift, float x, float y) override;
  // The system's close request takes the same path as a dismissal; its reason is not read.
  void CloseRequested(int16_t reason) override;

  // Runs the close-request handler; unless it cancels, the close handler, which ends the
  // process. Returns only when cancelled, or when the window is not loaded or is being
  // unloaded already (then nothing runs).
  void Unload();

  // Pointer tracking, shared with the close-request handler. Flags are 0 or -1.
  int16_t PositionKnown = kFalse;
  int16_t ResetMouse = kFalse;
  int16_t LastX = 0;
  int16_t LastY = 0;

  // Nonzero: the screen-saver password must be given before the saver closes. Stays 0 in
  // the product, since the system locks the session itself.
  int16_t PwdProtected = 0;
  // 2: a close request passes without the password check. Stays 0 in the product.
  int32_t CloseMode = 0;

 private:
  // The close-request handler: sets `cancel` to -1 to keep the window.
  void QueryUnload(int16_t& cancel);
  // The close handler: shows the cursor, unloads the windows and ends the process.
  void CloseAndEnd();
  void Remember(float x, float y);

  Platform& platform_;
  bool unloading_ = false;
};

}  // namespace fq
