#include "animation/monitor_flocks.h"

#include <algorithm>

#include "animation/work_form_design.h"

namespace fq {

void MonitorFlocks::Follow() {
  if (!monitors_.OtherMonitorsChanged()) return;
  const std::vector<MonitorArea> areas = monitors_.OtherMonitorAreas();
  std::vector<std::unique_ptr<OnMonitor>> following;
  following.reserve(areas.size());
  for (size_t i = 0; i < areas.size(); ++i) {
    WorkSurfaces& surfaces = monitors_.MonitorSurfaces(i);
    const auto kept = std::find_if(flocks_.begin(), flocks_.end(), [&](const auto& on) {
      return on && on->monitor == areas[i];
    });
    if (kept == flocks_.end()) {
      following.push_back(SetUpOn(areas[i], surfaces));
    } else {
      (*kept)->flock.DrawOn(surfaces);
      following.push_back(std::move(*kept));
    }
  }
  flocks_ = std::move(following);
}

// As the primary's set-up does it, on a monitor the platform has already shown in black.
std::unique_ptr<MonitorFlocks::OnMonitor> MonitorFlocks::SetUpOn(const MonitorArea& monitor,
                                                                 WorkSurfaces& surfaces) {
  auto on = std::make_unique<OnMonitor>(monitor, surfaces, settings_);
  surfaces.LoadWorkSurfaces(kWorkFormDesign);
  const Extent size{monitor.area.width, monitor.area.height};
  on->flock.Measure(size, size);
  on->random.Reseed(pacing_.SecondsSinceMidnight(), ++streams_);
  on->flock.PlaceSprites();
  return on;
}

void MonitorFlocks::FrameStep() {
  for (const auto& on : flocks_) on->flock.FrameStep();
}

}  // namespace fq
