// The pause after each frame on Win32, apart from the system: when it ends and what wakes it.
// Pure, so that it can be tested anywhere; process.cpp gives it the system's timer and waits.
#pragma once

#include <cstdint>

namespace fq::win32 {

// What the pause asks of the system.
class PauseWaits {
 public:
  enum class Woken { Deadline, Input };

  virtual ~PauseWaits() = default;
  // Sets the high-resolution timer to fire `milliseconds` from now; false where the system has
  // none (before Windows 10 1803), and then the pause counts by the clock instead.
  virtual bool SetTimer(int32_t milliseconds) = 0;
  // Until the timer fires (Deadline) or input arrives (Input), whichever is first; anything
  // else (a failed wait) counts as the deadline, so that the pause never spins.
  virtual Woken WaitForTimerOrInput() = 0;
  // Until input arrives or `milliseconds` have passed.
  virtual Woken WaitForInput(uint32_t milliseconds) = 0;
  // Milliseconds on the system's clock, which steps by its tick.
  virtual uint64_t Now() = 0;
  // Handles every pending window event, as the frame loop's yield does.
  virtual void ServeInput() = 0;
};

// Waits `milliseconds` from now, serving input at once as it arrives, so that a key ends the
// saver however long the pause; input does not move the end, which keeps the frame rate.
void Pause(PauseWaits& waits, int32_t milliseconds);

}  // namespace fq::win32
