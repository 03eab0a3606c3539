// The saver's dismissal as on Windows, for the Unix ports: a key, a button, a pointer jump of
// more than the tolerance on both axes, or a close request ends the process with exit code 0.
#pragma once

#include <cstdlib>

#include "platform/saver_window.h"
#include "saver_window/saver_form.h"

namespace fq {

class Dismissal : public SaverEvents, PointerTracking {
 public:
  void KeyDown(int16_t, int16_t) override { End(); }
  void MouseDown(int16_t, int16_t, float, float) override { End(); }
  void MouseMove(int16_t, int16_t, float x, float y) override {
    if (IsDismissal(x, y)) End();
  }
  void CloseRequested(int16_t) override { End(); }
  void PointerPlaced(float x, float y) override { Rest(x, y); }

 private:
  // The display server frees what the process held with its connection.
  [[noreturn]] static void End() { std::exit(EXIT_SUCCESS); }
};

}  // namespace fq
