// How a window that covers the whole screen is split by the monitors that show it: the core's
// saver window on the primary monitor, a stage of its own on every other. Knows nothing of X.
#pragma once

#include <span>
#include <vector>

#include "platform/other_monitors.h"
#include "platform/saver_window.h"

namespace fq::x11 {

// A monitor as the server lists it, in root-window pixels.
struct ScreenMonitor {
  PixelRect area;
  bool primary = false;
};

struct StageLayout {
  // The saver window's part of the window.
  PixelRect primary;
  std::vector<MonitorArea> others;
  bool operator==(const StageLayout&) const = default;
};

// `chosen` by hand (--scale), or 0 for the rule of platform/screen_scale.h.
int ScaleFor(int chosen, const PixelRect& area);

// Each monitor is cut to the window; the primary is the one the server marks, else the first.
// A monitor that overlaps one taken before it (the primary first) is left out: a mirror, or a
// monitor the server lists for an output that others split. With fewer than two monitors left,
// the whole window is the primary's, as on a window with no monitors.
StageLayout SplitByMonitors(Extent window, std::span<const ScreenMonitor> monitors, int chosen);

}  // namespace fq::x11
