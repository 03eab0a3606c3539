// What the saver does beyond the primary monitor and beside other programs: a black cover over
// every other monitor, kept in step with the monitors as they come, go and change and kept on
// top of other programs' windows, and the rules for activation. Another program's window that
// becomes active ends the saver, since keys would reach it unseen under the saver; another
// copy of this program may hold the foreground (a second saver, the settings dialog), and once
// nobody holds it the saver still on screen takes it back, so that the next key reaches it.
#include <windowsx.h>

#include <algorithm>
#include <new>
#include <utility>

#include "platform/fault.h"
#include "win32_platform.h"

namespace fq::win32 {
namespace {

// How often the yield asks for the monitors: a change made outside the program (Wine shows it
// without WM_DISPLAYCHANGE) is seen within this.
constexpr ULONGLONG kLayoutCheckInterval = 250;

// A fault cannot unwind through the system's frames: the callback notes it here (the list's
// growth is all that can fail), stops the enumeration, and the caller throws it once the system
// call has returned.
struct EnumeratedMonitors {
  MonitorLayout layout;
  bool primary_found = false;
  bool out_of_memory = false;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, RECT*, LPARAM found) {
  auto& monitors = *reinterpret_cast<EnumeratedMonitors*>(found);
  try {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info)) return TRUE;
    if (info.dwFlags & MONITORINFOF_PRIMARY) {
      monitors.layout.primary = info.rcMonitor;
      monitors.primary_found = true;
    } else {
      monitors.layout.others.push_back(info.rcMonitor);
    }
    return TRUE;
  } catch (const std::bad_alloc&) {
    monitors.out_of_memory = true;
    return FALSE;
  }
}

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

bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

BOOL CALLBACK FindOwnClass(HWND window, LPARAM found) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  for (const wchar_t* own : {kSaverClass, kCoverClass, kDialogClass}) {
    if (std::wstring_view(name) == own) {
      *reinterpret_cast<bool*>(found) = true;
      return FALSE;
    }
  }
  return TRUE;
}

// True when `thread`, not this one, has a window of one of the program's classes: it belongs
// to another copy of this program, whatever its file is called.
bool IsAnotherCopy(DWORD thread) {
  bool found = false;
  if (thread != 0 && thread != GetCurrentThreadId()) {
    EnumThreadWindows(thread, FindOwnClass, reinterpret_cast<LPARAM>(&found));
  }
  return found;
}

// True when `window` is hidden, or a shown window of another thread lies above it and over it:
// of another program, or, while this copy holds the foreground, of another copy. Without a
// window manager Wine hands a key to the thread whose window lies under the pointer, which
// drops it unless it holds the foreground (Windows hands it to the foreground), so the copy
// that holds the foreground must lie on top.
bool OthersAbove(HWND window, bool holding_foreground) {
  if (!IsWindowVisible(window)) return true;
  RECT area{};
  GetWindowRect(window, &area);
  for (HWND above = GetWindow(window, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
    RECT overlap{}, other{};
    if (!IsWindowVisible(above) || !GetWindowRect(above, &other) ||
        !IntersectRect(&overlap, &area, &other)) {
      continue;
    }
    const DWORD thread = GetWindowThreadProcessId(above, nullptr);
    if (thread == GetCurrentThreadId()) continue;
    if (!IsAnotherCopy(thread) || holding_foreground) return true;
  }
  return false;
}

}  // namespace

bool MonitorLayout::operator==(const MonitorLayout& other) const {
  if (!(primary == other.primary) || others.size() != other.others.size()) return false;
  for (size_t i = 0; i < others.size(); ++i) {
    if (!(others[i] == other.others[i])) return false;
  }
  return true;
}

std::optional<MonitorLayout> CurrentMonitorLayout() {
  EnumeratedMonitors monitors;
  const bool enumerated =
      EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  if (monitors.out_of_memory) throw std::bad_alloc();
  if (!enumerated || !monitors.primary_found || IsRectEmpty(&monitors.layout.primary)) {
    return std::nullopt;
  }
  return monitors.layout;
}

// One cover per monitor but the primary: those there are move to the monitors as they are now,
// new ones are made, and those left over go. Not owned by the saver window: Wine then would not
// make the saver topmost. Tool windows, so that they stay out of the task bar.
void Win32Platform::CoverOtherMonitors(bool topmost) {
  const std::vector<RECT>& areas = monitors_.others;
  while (covers_.size() > areas.size()) {
    DestroyWindow(covers_.back());
    covers_.pop_back();
  }
  for (size_t i = 0; i < areas.size(); ++i) {
    const RECT& area = areas[i];
    if (i == covers_.size()) {
      HWND cover = CreateWindowExW(WS_EX_TOOLWINDOW, kCoverClass, L"", WS_POPUP, area.left,
                                   area.top, area.right - area.left, area.bottom - area.top,
                                   nullptr, nullptr, instance_, this);
      if (!cover) ThrowSystemFault("A cover for another monitor could not be created");
      covers_.push_back(cover);
    }
    if (IsIconic(covers_[i])) RestoreOnto(covers_[i], area);
    SetWindowPos(covers_[i], topmost ? HWND_TOPMOST : nullptr, area.left, area.top,
                 area.right - area.left, area.bottom - area.top,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW | (topmost ? 0 : SWP_NOZORDER));
  }
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
  const bool put_back = monitors_changed || !SaverWindowsInPlace();
  if (put_back) {
    const RECT& primary = monitors_.primary;
    // Wine leaves the size of a maximised window that fills the screen to a window manager,
    // and there may be none; a minimised one keeps its icon's place. Either is restored first.
    if (IsZoomed(saver_) || IsIconic(saver_)) RestoreOnto(saver_, primary);
    SetWindowPos(saver_, HWND_TOPMOST, primary.left, primary.top, primary.right - primary.left,
                 primary.bottom - primary.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    CoverOtherMonitors(true);
  }
  if (!monitors_changed) return put_back;
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

// Copies started together can leave a saver window where it was made, and another program can
// hide a cover or keep a window of its own above the saver, where keys typed over it would
// reach nobody. Windows of other copies may lie above, but not above the copy that holds the
// foreground, or keys typed over them would reach nobody under Wine (see OthersAbove).
bool Win32Platform::SaverWindowsInPlace() {
  RECT saver{};
  GetWindowRect(saver_, &saver);
  HWND foreground = GetForegroundWindow();
  const bool holding_foreground =
      foreground && GetWindowThreadProcessId(foreground, nullptr) == GetCurrentThreadId();
  const auto covered = [&](HWND window) {
    return IsIconic(window) || OthersAbove(window, holding_foreground);
  };
  for (size_t i = 0; i < covers_.size(); ++i) {
    RECT cover{};
    GetWindowRect(covers_[i], &cover);
    if (i >= monitors_.others.size() || !(cover == monitors_.others[i])) return false;
  }
  return saver == monitors_.primary && !covered(saver_) &&
         std::none_of(covers_.begin(), covers_.end(), covered);
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
  return std::any_of(monitors_.others.begin(), monitors_.others.end(), rescue_onto);
}

// Decided in the yield after activation left, once the system says who has the foreground
// (under Wine the activation message does not say which thread takes it).
void Win32Platform::WatchForeground() {
  if (!lost_activation_) return;
  HWND foreground = GetForegroundWindow();
  const DWORD thread = foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0;
  if (thread == GetCurrentThreadId()) {
    // Taken back from a copy that ended, perhaps beneath another copy's windows.
    lost_activation_ = false;
    KeepScreensCovered(true);
  } else if (IsAnotherCopy(thread)) {
    // A second saver or the settings dialog: the saver waits until it is gone.
  } else if (!foreground || foreground == GetDesktopWindow()) {
    SetForegroundWindow(saver_);
  } else {
    RunHandler([&] { saver_events_->CloseRequested(kCloseFromCode); });
  }
}

}  // namespace fq::win32
