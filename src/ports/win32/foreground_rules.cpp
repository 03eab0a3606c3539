// The rules for activation and for who lies above the saver. Another program's window that
// becomes active ends the saver, since keys would reach it unseen under the saver; another
// copy of this program may hold the foreground (a second saver, the settings dialog), and once
// nobody holds it the saver still on screen takes it back, so that the next key reaches it.
#include <string_view>

#include "win32_platform.h"

namespace fq::win32 {
namespace {

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
  for (const auto& cover : covers_) {
    RECT area{};
    GetWindowRect(cover->window.get(), &area);
    if (!EqualRect(&area, &cover->monitor.area) || covered(cover->window.get())) return false;
  }
  return EqualRect(&saver, &monitors_.primary) && !covered(saver_);
}

// Decided in the yield after activation left, once the system says who has the foreground
// (under Wine the activation message does not say which thread takes it). A copy that ends
// can destroy its window while it is judged here, and Wine goes on naming a window that is
// gone as the foreground for a moment: a window that no longer exists, once its owner's
// windows were looked for, is nobody's, not another program's.
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
  } else if (!IsWindow(foreground) || foreground == GetDesktopWindow()) {
    SetForegroundWindow(saver_);
  } else {
    RunHandler([&] { saver_events_->CloseRequested(kCloseFromCode); });
  }
}

}  // namespace fq::win32
