// The saver window on Wayland: the primary output's stage, which the compositor alone sizes,
// and the pointer's display count.
#include "wayland_platform.h"

namespace fq::wayland {

Extent WaylandPlatform::PrimaryScreenSize() {
  const MonitorStage* stage = primary();
  return stage ? stage->size() : reported_size_;
}

void WaylandPlatform::LoadSaverWindow(const WindowDesign&, SaverEvents& events) {
  events_ = &events;
}

Extent WaylandPlatform::SaverClientSize() {
  primary_replaced_ = false;
  return reported_size_ = PrimaryScreenSize();
}

bool WaylandPlatform::SaverResized() {
  const Extent size = PrimaryScreenSize();
  return primary_replaced_ || size.width != reported_size_.width ||
         size.height != reported_size_.height;
}

void WaylandPlatform::RepaintSaver() {
  if (MonitorStage* stage = primary()) stage->PaintBlack();
}

// Hidden by giving the pointer no picture over the saver's surfaces. Nothing shows it again:
// the core asks for that only as the process ends, and the compositor then draws its own.
int32_t WaylandPlatform::ChangePointerCount(bool show) {
  const int32_t count = pointer_count_.Change(show);
  HidePointer();
  return count;
}

}  // namespace fq::wayland
