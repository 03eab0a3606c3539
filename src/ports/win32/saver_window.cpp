// The saver window on Win32: a borderless black pop-up with a device context of its own, and
// the window procedure it shares with the covers of the other monitors, which turns key,
// button, pointer, close and activation messages into SaverEvents. What the events mean
// (dismissal, password, shut-down) is the core's business.
#include <windowsx.h>

#include <algorithm>

#include "base/fault.h"
#include "win32_platform.h"
#include "window_creation.h"

namespace fq::win32 {
namespace {

int16_t ShiftState() {
  int16_t shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= kShiftKey;
  if (GetKeyState(VK_CONTROL) < 0) shift |= kControlKey;
  if (GetKeyState(VK_MENU) < 0) shift |= kAltKey;
  return shift;
}

int16_t ButtonsHeld(WPARAM keys) {
  int16_t buttons = 0;
  if (keys & MK_LBUTTON) buttons |= kLeftButton;
  if (keys & MK_RBUTTON) buttons |= kRightButton;
  if (keys & MK_MBUTTON) buttons |= kMiddleButton;
  if (keys & MK_XBUTTON1) buttons |= kX1Button;
  if (keys & MK_XBUTTON2) buttons |= kX2Button;
  return buttons;
}

int16_t ButtonPressed(UINT message, WPARAM wparam) {
  switch (message) {
    case WM_LBUTTONDOWN: return kLeftButton;
    case WM_RBUTTONDOWN: return kRightButton;
    case WM_MBUTTONDOWN: return kMiddleButton;
    default: return GET_XBUTTON_WPARAM(wparam) == XBUTTON1 ? kX1Button : kX2Button;
  }
}

}  // namespace

LRESULT CALLBACK Win32Platform::SaverProcedure(HWND window, UINT message, WPARAM wparam,
                                               LPARAM lparam) {
  if (message == WM_NCCREATE && !GetWindowLongPtrW(window, GWLP_USERDATA)) {
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(WindowCreation<Win32Platform>::Take()));
  }
  auto* platform = reinterpret_cast<Win32Platform*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  SaverEvents* events = platform ? platform->saver_events_ : nullptr;
  if (!events) return DefWindowProcW(window, message, wparam, lparam);
  // The pointer as the input arrived, on the screen: one space across all the monitors, which
  // another program moving one of the saver's windows does not change. The primary's corner,
  // where the saver window belongs, is the screen's origin.
  const bool cover = window != platform->saver_;
  const DWORD position = GetMessagePos();
  const POINT at{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
  const auto x = static_cast<float>(at.x);
  const auto y = static_cast<float>(at.y);
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      RunHandler([&] { events->KeyDown(static_cast<int16_t>(wparam), ShiftState()); });
      return 0;
    // Swallowed so that Alt and F10 never start the system's menu loop, which would stop the
    // animation while it waits.
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
      RunHandler([&] { events->MouseDown(ButtonPressed(message, wparam), ShiftState(), x, y); });
      return message == WM_XBUTTONDOWN ? TRUE : 0;
    case WM_MOUSEMOVE:
      RunHandler([&] {
        // A move that finds the monitors changed, or none to show (all off for a moment), may
        // be the system's, which moves the pointer as monitors come and go.
        const bool unsettled = platform->KeepScreensCovered(true);
        if (platform->RescuedFromLostMonitor(at) || unsettled) {
          events->PointerPlaced(x, y);
        } else {
          events->MouseMove(ButtonsHeld(wparam), ShiftState(), x, y);
        }
      });
      return 0;
    case WM_DISPLAYCHANGE:
      RunHandler([&] { platform->KeepScreensCovered(true); });
      break;
    case WM_CLOSE:
      RunHandler([&] { events->CloseRequested(kCloseFromMenu); });
      return 0;
    case WM_QUERYENDSESSION:
      // Returning means the close was cancelled (a refused password): the session waits.
      RunHandler([&] { events->CloseRequested(kCloseForSessionEnd); });
      return FALSE;
    case WM_ACTIVATEAPP:
      // Sent to every window of the program; the saver window answers for all of them. Only
      // the loss counts: Wine also tells of an activation that leaves another copy in the
      // foreground (a cover hidden by another program), so the foreground itself says when
      // the saver has it back (WatchForeground).
      if (!cover && !wparam) platform->lost_activation_ = true;
      break;
    case WM_SYSCOMMAND:
      // Keyboard menus stay shut and a running saver starts no other; SC_CLOSE goes on to
      // WM_CLOSE above.
      if ((wparam & 0xFFF0) == SC_KEYMENU || (wparam & 0xFFF0) == SC_SCREENSAVE) return 0;
      break;
    case WM_GETMINMAXINFO: {
      if (cover) break;
      // Maximised, the window covers the whole primary screen, not only its work area. Once
      // the monitors are followed, their layout is newer than what the system's metrics say
      // (under Wine those keep the size at start), and a grown primary must not be cut to it.
      // The structure is always the system's: it refuses to post this message, and copies it
      // across when another program sends it.
      auto* limits = reinterpret_cast<MINMAXINFO*>(lparam);
      const RECT& primary = platform->monitors_.primary;
      const POINT size = platform->saver_shown_
                             ? POINT{primary.right - primary.left, primary.bottom - primary.top}
                             : POINT{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
      limits->ptMaxPosition = {0, 0};
      limits->ptMaxSize = size;
      limits->ptMaxTrackSize.x = std::max(limits->ptMaxTrackSize.x, size.x);
      limits->ptMaxTrackSize.y = std::max(limits->ptMaxTrackSize.y, size.y);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

namespace {

// Black, with the arrow (hidden while the saver runs); CS_OWNDC, since the frame step draws on
// each window through one device context for its whole life.
void RegisterBlackClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  if (GetClassInfoExW(instance, name, &window_class)) return;
  window_class.style = CS_OWNDC;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  window_class.lpszClassName = name;
  if (!RegisterClassExW(&window_class)) {
    ThrowSystemFault("The saver's window classes could not be registered");
  }
}

Extent SizeOf(const RECT& rect) { return {rect.right - rect.left, rect.bottom - rect.top}; }

}  // namespace

RECT PrimaryByMetrics() {
  return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

Extent Win32Platform::PrimaryScreenSize() { return SizeOf(PrimaryByMetrics()); }

void Win32Platform::LoadSaverWindow(const WindowDesign& design, SaverEvents& events) {
  saver_events_ = &events;
  if (saver_) return;
  RegisterBlackClass(instance_, kSaverClass, SaverProcedure);
  RegisterBlackClass(instance_, kCoverClass, SaverProcedure);
  const PixelRect& rect = design.rect;
  saver_ = WindowCreation<Win32Platform>::Offer(this, [&] {
    return CreateWindowExW(0, kSaverClass, Widen(design.title).c_str(), WS_POPUP, rect.left,
                           rect.top, rect.width, rect.height, nullptr, nullptr, instance_, nullptr);
  });
  if (!saver_) {
    ThrowSystemFault("The saver window could not be created");
  }
  HDC window_dc = GetDC(saver_);
  if (!window_dc) ThrowSystemFault("The saver window's device context could not be had");
  stage_.DrawOn(window_dc);
}

void Win32Platform::SetSaverTitle(std::string_view title) {
  if (!SetWindowTextW(saver_, Widen(title).c_str())) {
    ThrowSystemFault("The saver window's title could not be set");
  }
}

void Win32Platform::SetSaverOuterSize(Extent size) {
  if (!SetWindowPos(saver_, nullptr, 0, 0, size.width, size.height,
                    SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE)) {
    ThrowSystemFault("The saver window could not be sized");
  }
}

Extent Win32Platform::SaverOuterSize() {
  RECT outer{};
  GetWindowRect(saver_, &outer);
  return SizeOf(outer);
}

Extent Win32Platform::SaverClientSize() {
  RECT client{};
  GetClientRect(saver_, &client);
  return reported_client_ = SizeOf(client);
}

// A window without area (minimised by another program, or sized to a monitor that is off for
// a moment) is no stage to draw on: the saver waits until it is put back.
bool Win32Platform::SaverResized() {
  RECT client{};
  GetClientRect(saver_, &client);
  const Extent size = SizeOf(client);
  if (size.width <= 0 || size.height <= 0) return false;
  return size.width != reported_client_.width || size.height != reported_client_.height;
}

// The covers are made as the saver shows: made while it was hidden, they would keep Wine from
// moving the saver to the screen's origin when it is maximised.
void Win32Platform::ShowSaver() {
  ShowWindow(saver_, SW_SHOW);
  if (saver_shown_) return;
  monitors_ = CurrentMonitorLayout().value_or(MonitorLayout{PrimaryByMetrics(), {}});
  CoverOtherMonitors(false);
  saver_shown_ = true;
}

void Win32Platform::MaximiseSaver() { ShowWindow(saver_, SW_SHOWMAXIMIZED); }

void Win32Platform::RepaintSaver() {
  RedrawWindow(saver_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void Win32Platform::MakeSaverTopmost() {
  SetWindowPos(saver_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  for (const auto& cover : covers_) {
    SetWindowPos(cover->window.get(), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

}  // namespace fq::win32
