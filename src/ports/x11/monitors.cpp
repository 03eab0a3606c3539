// The monitors on X11: RandR lists them (1.5 and later), and its events and the root window's
// ConfigureNotify (which a monitor set by hand sends) tell of a change, read again in the next
// yield. A monitor that comes or changes gets its part of the window painted black and surfaces
// of its own; one that goes is released at once and dropped at the next answer.
#include <algorithm>

#include "base/monitor_reconciliation.h"
#include "x11_platform.h"

#include <X11/extensions/Xrandr.h>

namespace fq::x11 {

void X11Platform::WatchMonitors() {
  int events = 0, errors = 0, major = 0, minor = 0;
  if (!XRRQueryExtension(&display_, &events, &errors) ||
      !XRRQueryVersion(&display_, &major, &minor) || major * 100 + minor < 105) {
    return;  // one stage, as on a single monitor
  }
  randr_events_ = events;
  const Window root = DefaultRootWindow(&display_);
  XRRSelectInput(&display_, root,
                 RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask | RROutputChangeNotifyMask);
  XSelectInput(&display_, root, StructureNotifyMask);
  monitors_ = ReadMonitors();
}

std::vector<ScreenMonitor> X11Platform::ReadMonitors() {
  int count = 0;
  XRRMonitorInfo* listed = XRRGetMonitors(&display_, DefaultRootWindow(&display_), True, &count);
  std::vector<ScreenMonitor> monitors;
  for (int i = 0; i < count; ++i) {
    const XRRMonitorInfo& monitor = listed[i];
    monitors.push_back(
        {{monitor.x, monitor.y, monitor.width, monitor.height}, monitor.primary != 0});
  }
  XRRFreeMonitors(listed);
  return monitors;
}

void X11Platform::Relayout() {
  StageLayout next = splits_ ? SplitByMonitors(window_size_, monitors_, chosen_scale_)
                             : StageLayout{{0, 0, window_size_.width, window_size_.height}, {}};
  if (next.others != layout_.others) {
    others_changed_ = true;
    for (const auto& surfaces : monitor_surfaces_) {
      const MonitorArea shown{surfaces->area(), surfaces->scale()};
      if (std::find(next.others.begin(), next.others.end(), shown) == next.others.end()) {
        surfaces->Release();
      }
    }
  }
  const PixelRect& was = layout_.primary;
  if (primary_ && next.primary != was) {
    primary_->Place(next.primary);
    // Its flock goes on where it is now; a new size is the core's to stage afresh.
    if (next.primary.width == was.width && next.primary.height == was.height) {
      primary_->PaintBlack();
    }
  }
  layout_ = std::move(next);
}

std::vector<MonitorArea> X11Platform::OtherMonitorAreas() {
  if (!primary_) return {};  // not shown yet
  others_changed_ = false;
  const std::vector<MonitorArea>& monitors = layout_.others;
  MonitorReconciliation(monitor_surfaces_, monitors,
                        [](const StageSurfaces& surfaces, const MonitorArea& monitor) {
                          return !surfaces.released() && surfaces.area() == monitor.area &&
                                 surfaces.scale() == monitor.scale;
                        })
      .Apply([&](size_t i) {
        auto made =
            std::make_unique<StageSurfaces>(canvas_, sheets_, monitors[i].scale, monitors[i].area);
        made->PaintBlack();
        return made;
      });
  return layout_.others;
}

}  // namespace fq::x11
