// The time of day on a Unix system, as the frame loop's Pacing reports it (platform/pacing.h).
#pragma once

namespace fq {

// Seconds since local midnight, to the millisecond.
float LocalSecondsSinceMidnight();

}  // namespace fq
