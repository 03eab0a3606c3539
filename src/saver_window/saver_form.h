// frmSaver: the full-screen saver window's input handlers and its unload.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace fq {

class SaverForm : public SaverEvents {
 public:
  explicit SaverForm(Platform& platform) : platform_(platform) {}

  // Loads the window hidden; no effect when it is loaded already.
  void Load();

  void KeyDown(int16_t key_code, int16_t shift) override;
  void MouseDown(int16_t button, int16_t shift, float x, float y) override;
  void MouseMove(int16_t button, int16_t shift, float x, float y) override;
  void CloseRequested(int16_t reason) override;

 private:
  Platform& platform_;
};

}  // namespace fq
