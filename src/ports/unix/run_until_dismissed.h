// The run of the Unix programs: the scene on a port's roles until a dismissal
// (saver_window/dismissal.h) ends the process.
#pragma once

#include "platform/other_monitors.h"
#include "platform/pacing.h"
#include "platform/saver_window.h"
#include "platform/work_surfaces.h"
#include "startup/settings.h"

namespace fq {

// Runs the scene on a port's roles, shown through a stage at the primary's `scale`, until a
// dismissal ends the process.
[[noreturn]] void RunUntilDismissed(SaverWindow& window, WorkSurfaces& surfaces,
                                    OtherMonitors& others, Pacing& pacing, int scale,
                                    const Settings& settings);

}  // namespace fq
