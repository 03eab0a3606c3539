// The saver window on Win32: a borderless black pop-up with a device context of its own, and
// its window procedure, which turns key, button, pointer and close messages into SaverEvents.
// What the events mean (dismissal, password, shut-down) is the core's business.
#include <windowsx.h>

#include "platform/fault.h"
#include "win32_platform.h"

namespace fq::win32 {
namespace {

constexpr wchar_t kSaverClass[] = L"FlyingQuorlin.Saver";

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

LRESULT CALLBACK SaverProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto* events = reinterpret_cast<SaverEvents*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!events) return DefWindowProcW(window, message, wparam, lparam);
  const float x = static_cast<float>(GET_X_LPARAM(lparam));
  const float y = static_cast<float>(GET_Y_LPARAM(lparam));
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
      RunHandler([&] { events->MouseMove(ButtonsHeld(wparam), ShiftState(), x, y); });
      return 0;
    case WM_CLOSE:
      RunHandler([&] { events->CloseRequested(kCloseFromMenu); });
      return 0;
    case WM_QUERYENDSESSION:
      // Returning means the close was cancelled (a refused password): the session waits.
      RunHandler([&] { events->CloseRequested(kCloseForSessionEnd); });
      return FALSE;
    case WM_SYSCOMMAND:
      // Keyboard menus stay shut and a running saver starts no other; SC_CLOSE goes on to
      // WM_CLOSE above.
      if ((wparam & 0xFFF0) == SC_KEYMENU || (wparam & 0xFFF0) == SC_SCREENSAVE) return 0;
      break;
    case WM_GETMINMAXINFO: {
      // Maximised, the window covers the whole primary screen, not only its work area.
      auto* limits = reinterpret_cast<MINMAXINFO*>(lparam);
      limits->ptMaxPosition = {0, 0};
      limits->ptMaxSize = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

void RegisterSaverClass(HINSTANCE instance) {
  WNDCLASSEXW saver_class{};
  saver_class.cbSize = sizeof saver_class;
  if (GetClassInfoExW(instance, kSaverClass, &saver_class)) return;
  // CS_OWNDC: the frame step draws on one device context that lives as long as the window.
  saver_class.style = CS_OWNDC;
  saver_class.lpfnWndProc = SaverProcedure;
  saver_class.hInstance = instance;
  saver_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  saver_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  saver_class.lpszClassName = kSaverClass;
  if (!RegisterClassExW(&saver_class)) {
    ThrowSystemFault("The saver window's class could not be registered");
  }
}

Extent SizeOf(const RECT& rect) { return {rect.right - rect.left, rect.bottom - rect.top}; }

}  // namespace

Extent Win32Platform::PrimaryScreenSize() {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

void Win32Platform::LoadSaverWindow(const WindowDesign& design, SaverEvents& events) {
  if (saver_) {
    SetWindowLongPtrW(saver_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&events));
    return;
  }
  RegisterSaverClass(instance_);
  const PixelRect& rect = design.rect;
  saver_ = CreateWindowExW(0, kSaverClass, Widen(design.title).c_str(), WS_POPUP, rect.left,
                           rect.top, rect.width, rect.height, nullptr, nullptr, instance_,
                           &events);
  if (!saver_) {
    ThrowSystemFault("The saver window could not be created");
  }
  saver_dc_ = GetDC(saver_);
}

void Win32Platform::SetSaverTitle(std::string_view title) {
  if (!SetWindowTextW(saver_, Widen(title).c_str())) {
    ThrowSystemFault("The saver window's title could not be set");
  }
}

void Win32Platform::SetSaverOuterSize(Extent size) {
  SetWindowPos(saver_, nullptr, 0, 0, size.width, size.height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Extent Win32Platform::SaverOuterSize() {
  RECT outer{};
  GetWindowRect(saver_, &outer);
  return SizeOf(outer);
}

Extent Win32Platform::SaverClientSize() {
  RECT client{};
  GetClientRect(saver_, &client);
  return SizeOf(client);
}

void Win32Platform::ShowSaver() { ShowWindow(saver_, SW_SHOW); }

void Win32Platform::MaximiseSaver() { ShowWindow(saver_, SW_SHOWMAXIMIZED); }

void Win32Platform::RepaintSaver() {
  RedrawWindow(saver_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void Win32Platform::MakeSaverTopmost() {
  SetWindowPos(saver_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

}  // namespace fq::win32
