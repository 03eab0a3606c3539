#include "platform/scaled_stage.h"

#include <cmath>

namespace fq {

void ScaledSurfaces::LoadWorkSurfaces(const WorkFormDesign& design) {
  surfaces_.LoadWorkSurfaces({Up(design.WorkScr), Up(design.CleanScreen)});
}

void ScaledSurfaces::ResizeSurface(SurfaceId surface, Extent size) {
  surfaces_.ResizeSurface(surface, Up(size));
}

void ScaledSurfaces::BitBlt(SurfaceId destination, int32_t x, int32_t y, int32_t width,
                            int32_t height, SurfaceId source, int32_t source_x, int32_t source_y,
                            RasterOp op) {
  surfaces_.BitBlt(destination, Up(x), Up(y), Up(width), Up(height), source, Up(source_x),
                   Up(source_y), op);
}

void ScaledStage::LoadSaverWindow(const WindowDesign& design, SaverEvents& events) {
  events_ = &events;
  const PixelRect& rect = design.rect;
  window_.LoadSaverWindow(
      {design.title, {Up(rect.left), Up(rect.top), Up(rect.width), Up(rect.height)}}, *this);
}

// Each area in the core's pixels of its own monitor.
std::vector<MonitorArea> ScaledStage::OtherMonitorAreas() {
  monitors_ = others_.OtherMonitorAreas();
  monitor_surfaces_.clear();
  monitor_surfaces_.reserve(monitors_.size());
  std::vector<MonitorArea> seen;
  for (size_t i = 0; i < monitors_.size(); ++i) {
    const auto& [area, k] = monitors_[i];
    monitor_surfaces_.emplace_back(others_.MonitorSurfaces(i), k);
    seen.push_back({{area.left / k, area.top / k, area.width / k, area.height / k}, k});
  }
  return seen;
}

int ScaledStage::ScaleAt(float x, float y) const {
  for (const MonitorArea& monitor : monitors_) {
    const PixelRect& area = monitor.area;
    if (x >= area.left && x < area.left + area.width && y >= area.top &&
        y < area.top + area.height) {
      return monitor.scale;
    }
  }
  return scale();
}

// Rounded down, as a system that scales for a program unaware of the DPI would: a pixel of the
// core is whole on the screen or not shown.
float ScaledStage::Down(float position, int scale) {
  return scale == 1 ? position : std::floor(position / static_cast<float>(scale));
}

void ScaledStage::KeyDown(int16_t key_code, int16_t shift) { events_->KeyDown(key_code, shift); }

void ScaledStage::MouseDown(int16_t button, int16_t shift, float x, float y) {
  const int k = ScaleAt(x, y);
  events_->MouseDown(button, shift, Down(x, k), Down(y, k));
}

// Both ends of a move are divided by the k of the monitor where it starts. When that is not the
// k the core's copy of the start was divided by (the last move crossed into a monitor of
// another scale), the start is first given again at the new k.
void ScaledStage::MouseMove(int16_t button, int16_t shift, float x, float y) {
  const int k = last_pointer_ ? ScaleAt(last_pointer_->x, last_pointer_->y) : ScaleAt(x, y);
  if (last_pointer_ && k != last_pointer_->scale) {
    events_->PointerPlaced(Down(last_pointer_->x, k), Down(last_pointer_->y, k));
  }
  last_pointer_ = {x, y, k};
  events_->MouseMove(button, shift, Down(x, k), Down(y, k));
}

void ScaledStage::CloseRequested(int16_t reason) { events_->CloseRequested(reason); }

void ScaledStage::PointerPlaced(float x, float y) {
  const int k = ScaleAt(x, y);
  last_pointer_ = {x, y, k};
  events_->PointerPlaced(Down(x, k), Down(y, k));
}

}  // namespace fq
