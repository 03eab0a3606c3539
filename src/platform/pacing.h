// What the frame loop asks between frames: the yield to pending window events, the pause, and
// the time of day that seeds the random numbers.
#pragma once

#include <cstdint>

namespace fq {

class Pacing {
 public:
  virtual ~Pacing() = default;

  // Handles every pending window event (their handlers run inside this call), then returns.
  virtual void YieldToMessageLoop() = 0;
  // Waits `milliseconds` (above 0). A port may handle window events during it as the yield
  // does (Win32 serves input, so that a key ends the saver at once) or only sleep (X11,
  // Wayland); the frame loop follows what they changed before the next frame either way.
  virtual void Pause(int32_t milliseconds) = 0;
  // Seconds since local midnight, with their fraction.
  virtual float SecondsSinceMidnight() = 0;
};

}  // namespace fq
