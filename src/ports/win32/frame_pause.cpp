#include "frame_pause.h"

namespace fq::win32 {

// The timer is set once, as the pause starts; without it the end is on the clock, and a wait
// lasts whole ticks of it (15.625 ms by default on Windows).
void Pause(PauseWaits& waits, int32_t milliseconds) {
  if (waits.SetTimer(milliseconds)) {
    while (waits.WaitForTimerOrInput() == PauseWaits::Woken::Input) waits.ServeInput();
    return;
  }
  const uint64_t end = waits.Now() + static_cast<uint64_t>(milliseconds);
  for (uint64_t now = waits.Now(); now < end; now = waits.Now()) {
    if (waits.WaitForInput(static_cast<uint32_t>(end - now)) == PauseWaits::Woken::Deadline) {
      return;
    }
    waits.ServeInput();
  }
}

}  // namespace fq::win32
