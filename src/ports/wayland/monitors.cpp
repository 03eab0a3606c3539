// The outputs as the core's monitors: the primary, replaced when its output goes, and every
// other one shown, side by side in the pointer's space.
#include "wayland_platform.h"

namespace fq::wayland {

void WaylandPlatform::MarkMonitorsChanged() { monitors_changed_ = true; }

std::vector<MonitorStage*> WaylandPlatform::Shown() const {
  std::vector<MonitorStage*> shown;
  if (primary_ && primary_->shown()) shown.push_back(primary_);
  for (const auto& stage : outputs_) {
    if (stage->shown() && stage.get() != primary_) shown.push_back(stage.get());
  }
  return shown;
}

MonitorStage* WaylandPlatform::primary() const {
  return primary_ && primary_->shown() ? primary_ : nullptr;
}

void WaylandPlatform::ReplaceLostPrimary() {
  if (primary()) return;
  const std::vector<MonitorStage*> shown = Shown();
  if (shown.empty()) return;
  primary_ = shown.front();
  primary_->PinScale(primary_scale_);
  primary_replaced_ = true;
  MarkMonitorsChanged();
}

std::vector<MonitorArea> WaylandPlatform::OtherMonitorAreas() {
  gone_.clear();
  monitors_changed_ = false;
  answered_.clear();
  std::vector<MonitorArea> areas;
  int32_t left = 0;
  for (MonitorStage* stage : Shown()) {
    if (stage != primary_) {
      answered_.push_back(stage);
      areas.push_back({{left, 0, stage->size().width, stage->size().height}, stage->scale()});
    }
    left += stage->size().width;
  }
  return areas;
}

}  // namespace fq::wayland
