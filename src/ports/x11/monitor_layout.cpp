#include "monitor_layout.h"

#include <algorithm>
#include <optional>

#include "platform/screen_scale.h"

namespace fq::x11 {
namespace {

std::optional<PixelRect> Within(const PixelRect& area, Extent window) {
  const int32_t left = std::max(area.left, 0), top = std::max(area.top, 0);
  const int32_t right = std::min(area.left + area.width, window.width);
  const int32_t bottom = std::min(area.top + area.height, window.height);
  if (right <= left || bottom <= top) return std::nullopt;
  return PixelRect{left, top, right - left, bottom - top};
}

bool Overlap(const PixelRect& a, const PixelRect& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

}  // namespace

int ScaleFor(int chosen, const PixelRect& area) {
  return chosen != 0 ? chosen : ScaleForWindow(area.width, area.height);
}

StageLayout SplitByMonitors(Extent window, std::span<const ScreenMonitor> monitors, int chosen) {
  std::vector<ScreenMonitor> ordered(monitors.begin(), monitors.end());
  // Stable: the rest keep the server's order.
  std::stable_partition(ordered.begin(), ordered.end(),
                        [](const ScreenMonitor& monitor) { return monitor.primary; });
  std::vector<PixelRect> taken;
  for (const ScreenMonitor& monitor : ordered) {
    const std::optional<PixelRect> area = Within(monitor.area, window);
    if (area && std::none_of(taken.begin(), taken.end(),
                             [&](const PixelRect& other) { return Overlap(*area, other); })) {
      taken.push_back(*area);
    }
  }
  if (taken.size() < 2) return {{0, 0, window.width, window.height}, {}};
  StageLayout layout{taken.front(), {}};
  for (auto area = taken.begin() + 1; area != taken.end(); ++area) {
    layout.others.push_back({*area, ScaleFor(chosen, *area)});
  }
  return layout;
}

}  // namespace fq::x11
