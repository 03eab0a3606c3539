// The monitors beyond the primary, each a stage of its own: the port says which there are,
// where they lie and at what scale, and gives each one surfaces; the core draws a flock on each.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/saver_window.h"
#include "platform/work_surfaces.h"

namespace fq {

struct MonitorArea {
  // Physical pixels, in the pointer's space (platform/saver_window.h).
  PixelRect area;
  // The whole-number scale k its pixels are shown at (platform/screen_scale.h).
  int scale = 1;
  bool operator==(const MonitorArea&) const = default;
};

class OtherMonitors {
 public:
  virtual ~OtherMonitors() = default;

  // True when the monitors beyond the primary may differ from the last answer of
  // OtherMonitorAreas, and before its first call. They change only inside the yield and the
  // pause (platform/pacing.h). Asked once a frame: it must cost next to nothing.
  virtual bool OtherMonitorsChanged() = 0;
  // Every monitor but the primary as the system shows it now; none unless the saver shows.
  virtual std::vector<MonitorArea> OtherMonitorAreas() = 0;
  // The surfaces of monitor `index` of the last answer, in its physical pixels: a WorkScr,
  // CleanScreen and Master (drawn for its scale) of its own, and as SaverWindow the port's black
  // window over it. Valid until the next answer: a monitor that goes meanwhile draws nowhere,
  // and the port frees its surfaces. A monitor that keeps its area and scale keeps what its
  // surfaces hold from one answer to the next.
  virtual WorkSurfaces& MonitorSurfaces(size_t index) = 0;
};

}  // namespace fq
