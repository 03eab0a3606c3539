// titled_window.exe: a foreign program's window with a title of the test's choosing, so the
// end-to-end tests can show that any top-level window with the saver's marker title counts.
// Usage: titled_window <title>. Serves the window until it is closed (WM_CLOSE) or the process
// is ended. The window stays hidden: a title search finds hidden windows too, and a shown one
// could stir the windows under test.
#include <windows.h>

#include <cstdio>

namespace {

LRESULT CALLBACK TitledWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fputs("usage: titled_window <title>\n", stderr);
    return 2;
  }
  WNDCLASSW window_class = {};
  window_class.lpfnWndProc = TitledWindowProc;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.lpszClassName = L"FqTitledWindow";
  RegisterClassW(&window_class);
  HWND window = CreateWindowExW(0, window_class.lpszClassName, argv[1], WS_OVERLAPPEDWINDOW, 0, 0,
                                160, 80, nullptr, nullptr, window_class.hInstance, nullptr);
  if (!window) {
    std::fprintf(stderr, "titled_window: CreateWindowExW failed (%lu)\n", GetLastError());
    return 1;
  }
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
