// The black covers over every monitor beyond the primary: kept in step with the monitors as they
// come, go and change, and put back where they belong with the saver window; and a pointer that
// the system moves off a monitor that went away.
#include <algorithm>
#include <memory>
#include <utility>

#include "base/fault.h"
#include "base/monitor_reconciliation.h"
#include "win32_platform.h"
#include "window_creation.h"

namespace fq::win32 {
namespace {

// How often the yield asks for the monitors: a change made outside the program (Wine shows it
// without WM_DISPLAYCHANGE) is seen within this.
constexpr ULONGLONG kLayoutCheckInterval = 250;

// Brings a maximised or minimised window back to its normal state over `area`, unactivated.
void RestoreOnto(HWND window, const RECT& area) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(window, &placement);
  placement.showCmd = SW_SHOWNOACTIVATE;
  placement.rcNormalPosition = area;
  SetWindowPlacement(window, &placement);
}

// The pointer's place as input carries it, in 16 bits: no conversion downstream can overflow.
LONG ClampToShort(LONG coordinate) { return std::clamp<LONG>(coordinate, -32768, 32767); }

}  // namespace

// One cover per monitor but the primary, in the order of `monitors_`. Not owned by the saver
// window: Wine then would not make the saver topmost. Tool windows, so that they stay out of the
// task bar. A new cover takes the window of one that goes where there is one: without a window
// manager, Wine waits 2 s for each window it takes off the screen. Windows and memory are had
// before any cover changes.
void Win32Platform::CoverOtherMonitors(bool topmost) {
  const std::vector<PlacedMonitor>& monitors = monitors_.others;
  MonitorReconciliation reconciliation(covers_, monitors,
                                       [](const MonitorStage& cover, const PlacedMonitor& monitor) {
                                         return cover.monitor == monitor;
                                       });
  gone_covers_.reserve(gone_covers_.size() + reconciliation.going());
  std::vector<std::unique_ptr<MonitorStage>> going =
      reconciliation.Apply([&, spare_windows = reconciliation.going()](size_t i) mutable {
        auto cover = std::make_unique<MonitorStage>(sheets_, monitors[i]);
        if (spare_windows > 0) {
          --spare_windows;
        } else {
          MakeCoverWindow(*cover);
        }
        return cover;
      });
  // Nothing below fails.
  covers_changed_ |= reconciliation.changes();
  auto spare = going.begin();
  for (const auto& cover : covers_) {
    if (!cover->window) {
      MonitorStage& gone = **spare++;
      cover->window = std::move(gone.window);
      cover->surfaces.DrawOn(gone.surfaces.DeviceContext(SurfaceId::SaverWindow));
    }
    HWND window = cover->window.get();
    const RECT& area = cover->monitor.area;
    if (IsIconic(window)) RestoreOnto(window, area);
    SetWindowPos(window, topmost ? HWND_TOPMOST : nullptr, area.left, area.top,
                 area.right - area.left, area.bottom - area.top,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW | (topmost ? 0 : SWP_NOZORDER));
    // Black where its flock has yet to start, as a new window is: a window handed on shows,
    // once moved, what lay there before.
    if (!cover->surfaces.Sheet()) {
      RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
  }
  // Last, so that the monitors are covered while Wine waits.
  for (auto& gone : going) {
    gone->window.reset();
    gone->surfaces.UnloadWorkSurfaces();
    gone->surfaces.DrawOn(nullptr);
    gone_covers_.push_back(std::move(gone));
  }
}

void Win32Platform::MakeCoverWindow(MonitorStage& cover) {
  const RECT& area = cover.monitor.area;
  cover.window.reset(WindowCreation<Win32Platform>::Offer(this, [&] {
    return CreateWindowExW(WS_EX_TOOLWINDOW, kCoverClass, L"", WS_POPUP, area.left, area.top,
                           area.right - area.left, area.bottom - area.top, nullptr, nullptr,
                           instance_, nullptr);
  }));
  if (!cover.window) ThrowSystemFault("A cover for another monitor could not be created");
  HDC window_dc = GetDC(cover.window.get());
  if (!window_dc) ThrowSystemFault("A cover's device context could not be had");
  cover.surfaces.DrawOn(window_dc);
}

// In the pointer's space, the screen's: the primary's corner is its origin.
std::vector<MonitorArea> Win32Platform::OtherMonitorAreas() {
  gone_covers_.clear();
  covers_changed_ = false;
  std::vector<MonitorArea> areas;
  for (const auto& cover : covers_) {
    const RECT& area = cover->monitor.area;
    areas.push_back({{area.left, area.top, area.right - area.left, area.bottom - area.top},
                     cover->monitor.scale});
  }
  return areas;
}

bool Win32Platform::KeepScreensCovered(bool now) {
  if (!saver_shown_) return false;
  const ULONGLONG time = GetTickCount64();
  if (!now && time - last_layout_check_ < kLayoutCheckInterval) return false;
  last_layout_check_ = time;
  // While the system shows no monitor, or none primary (one that is off for a moment), the
  // last layout stands until the next one comes.
  std::optional<MonitorLayout> layout = CurrentMonitorLayout();
  if (!layout) {
    monitors_missing_ = true;
    return true;
  }
  const bool monitors_changed = monitors_missing_ || !(*layout == monitors_);
  monitors_missing_ = false;
  monitors_ = std::move(*layout);
  if (monitors_changed || !SaverWindowsInPlace()) {
    const RECT& primary = monitors_.primary;
    // Wine leaves the size of a maximised window that fills the screen to a window manager,
    // and there may be none; a minimised one keeps its icon's place. Either is restored first.
    if (IsZoomed(saver_) || IsIconic(saver_)) RestoreOnto(saver_, primary);
    SetWindowPos(saver_, HWND_TOPMOST, primary.left, primary.top, primary.right - primary.left,
                 primary.bottom - primary.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    CoverOtherMonitors(true);
  }
  // A window put back moves no pointer: the pointer is read on the screen.
  if (!monitors_changed) return false;
  // A pointer whose monitor went away was moved by the system, not by the user, as was one
  // that the system put back with its monitors; and a new primary moves the screen's origin
  // under a pointer that stayed put.
  POINT pointer{};
  if (GetCursorPos(&pointer)) {
    RunHandler([&] {
      saver_events_->PointerPlaced(static_cast<float>(ClampToShort(pointer.x)),
                                   static_cast<float>(ClampToShort(pointer.y)));
    });
  }
  return true;
}

namespace {

bool Contains(const RECT& area, POINT point) {
  return point.x >= area.left && point.x < area.right && point.y >= area.top &&
         point.y < area.bottom;
}

// `area` has pixels: clamping to an empty one would cross the bounds.
POINT NearestPointOf(const RECT& area, POINT point) {
  return {std::clamp(point.x, area.left, area.right - 1),
          std::clamp(point.y, area.top, area.bottom - 1)};
}

}  // namespace

// When a monitor goes away, the system puts the pointer on it at the nearest point of another
// monitor, but Wine shows the new layout only a second or so after that move arrives. A move
// from another monitor to exactly that point is taken as the system's: a hand on the mouse all
// but never lands there.
bool Win32Platform::RescuedFromLostMonitor(POINT to) {
  const std::optional<POINT> from = std::exchange(last_pointer_, to);
  if (!from || (from->x == to.x && from->y == to.y) || Contains(monitors_.primary, *from)) {
    return false;
  }
  const auto rescue_onto = [&](const RECT& area) {
    if (IsRectEmpty(&area)) return false;
    const POINT nearest = NearestPointOf(area, *from);
    return !Contains(area, *from) && nearest.x == to.x && nearest.y == to.y;
  };
  if (rescue_onto(monitors_.primary)) return true;
  return std::any_of(monitors_.others.begin(), monitors_.others.end(),
                     [&](const PlacedMonitor& other) { return rescue_onto(other.area); });
}

}  // namespace fq::win32
