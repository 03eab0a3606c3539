#include "animation/monitor_flocks.h"

#include "animation/work_form_design.h"
#include "base/monitor_reconciliation.h"

namespace fq {

void MonitorFlocks::Follow() {
  if (!monitors_.OtherMonitorsChanged()) return;
  const std::vector<MonitorArea> areas = monitors_.OtherMonitorAreas();
  MonitorReconciliation(flocks_, areas, [](const OnMonitor& on, const MonitorArea& area) {
    return on.monitor == area;
  }).Apply([&](size_t i) { return SetUpOn(areas[i], monitors_.MonitorSurfaces(i)); });
  // The platform hands out every monitor's surfaces again, a kept one's too.
  for (size_t i = 0; i < flocks_.size(); ++i) {
    flocks_[i]->flock.DrawOn(monitors_.MonitorSurfaces(i));
  }
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
