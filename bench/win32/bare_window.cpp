// The floor for the start-up figure of scripts/bench.sh: a bare Win32 program that opens a
// black window over the whole screen and paints one white block in it once, with nothing
// else to load. The script times it exactly as it times the saver, from the process's start
// to the first lit pixel on the screen, and reads its memory as the saver's. It runs until it
// is ended from outside.
#include <windows.h>

namespace {

constexpr wchar_t kClassName[] = L"FlyingQuorlinBareWindow";

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    const RECT block{0, 0, 128, 128};
    FillRect(dc, &block, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  window_class.lpszClassName = kClassName;
  RegisterClassW(&window_class);
  CreateWindowExW(WS_EX_TOPMOST, kClassName, L"Bare window", WS_POPUP | WS_VISIBLE, 0, 0,
                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                  instance, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
