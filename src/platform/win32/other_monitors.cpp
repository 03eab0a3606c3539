// What the saver does beyond the primary monitor and beside other programs: a black cover over
// every other monitor, and the rules for activation. Another program's window that becomes
// active ends the saver, since keys would reach it unseen under the saver; another copy of this
// program may hold the foreground (a second saver, the settings dialog), and once nobody holds
// it the saver still on screen takes it back, so that the next key reaches it.
#include "platform/fault.h"
#include "win32_platform.h"

namespace fq::win32 {
namespace {

BOOL CALLBACK AddOtherMonitor(HMONITOR monitor, HDC, RECT*, LPARAM areas) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info) && !(info.dwFlags & MONITORINFOF_PRIMARY)) {
    reinterpret_cast<std::vector<RECT>*>(areas)->push_back(info.rcMonitor);
  }
  return TRUE;
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

}  // namespace

void Win32Platform::CreateCovers() {
  std::vector<RECT> areas;
  EnumDisplayMonitors(nullptr, nullptr, AddOtherMonitor, reinterpret_cast<LPARAM>(&areas));
  for (const RECT& area : areas) {
    // Not owned by the saver window: Wine then would not make the saver topmost. Tool windows,
    // so that they stay out of the task bar.
    HWND cover = CreateWindowExW(WS_EX_TOOLWINDOW, kCoverClass, L"", WS_POPUP, area.left, area.top,
                                 area.right - area.left, area.bottom - area.top, nullptr, nullptr,
                                 instance_, this);
    if (!cover) ThrowSystemFault("A cover for another monitor could not be created");
    covers_.push_back(cover);
  }
}

// Decided in the yield after activation left, once the system says who has the foreground
// (under Wine the activation message does not say which thread takes it).
void Win32Platform::WatchForeground() {
  if (!lost_activation_) return;
  HWND foreground = GetForegroundWindow();
  const DWORD thread = foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0;
  if (thread == GetCurrentThreadId()) {
    lost_activation_ = false;
  } else if (IsAnotherCopy(thread)) {
    // A second saver or the settings dialog: the saver waits until it is gone.
  } else if (!foreground || foreground == GetDesktopWindow()) {
    SetForegroundWindow(saver_);
  } else {
    RunHandler([&] { saver_events_->CloseRequested(kCloseFromCode); });
  }
}

}  // namespace fq::win32
