// The frame loop's pause and clock on a Unix system (platform/pacing.h): the pause only sleeps,
// and the clock reads the local time of day. The yield is each port's own.
#pragma once

#include <cstdint>

#include "platform/pacing.h"

namespace fq {

class UnixPacing : public Pacing {
 public:
  void Pause(int32_t milliseconds) override;
  // Seconds since local midnight, to the millisecond.
  float SecondsSinceMidnight() override;
};

}  // namespace fq
