// fq_inspect.exe: what the end-to-end tests see and do under Wine beside the program (its
// commands: tests/e2e/README.md). It prints lines of tab-separated fields in UTF-8; exit code
// 1 when the window, process or key named is not there, 2 on bad usage.
#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& text) {
  std::string out(text.size() * 3, '\0');
  out.resize(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                 out.data(), static_cast<int>(out.size()), nullptr, nullptr));
  // One line per window: a line break or tab inside a text becomes a blank.
  for (char& c : out) c = (c == '\t' || c == '\n' || c == '\r') ? ' ' : c;
  return out;
}

// A window's text as its own window procedure gives it, which also reaches edit controls of
// another process.
std::wstring TextOf(HWND window) {
  std::wstring text(1 << 16, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, 2000, &copied);
  return text.substr(0, copied);
}

BOOL CALLBACK PrintWindow(HWND window, LPARAM) {
  DWORD pid = 0;
  GUITHREADINFO thread = {};
  thread.cbSize = sizeof thread;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, &pid), &thread);
  RECT outer = {}, client = {};
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
  wchar_t window_class[256] = {};
  GetClassNameW(window, window_class, 256);
  std::printf("%lld\t%lu\t%s\t%d\t%d\t%d\t%lld\t%lu\t%lu\t"
              "%ld\t%ld\t%ld\t%ld\t%ld\t%ld\t%ld\t%ld\t%s\n",
              reinterpret_cast<long long>(window), pid, Utf8(window_class).c_str(),
              IsWindowVisible(window), thread.hwndFocus == window, GetForegroundWindow() == window,
              reinterpret_cast<long long>(GetWindow(window, GW_OWNER)),
              GetWindowLongW(window, GWL_STYLE), GetWindowLongW(window, GWL_EXSTYLE), outer.left,
              outer.top, outer.right, outer.bottom, client.left, client.top, client.right,
              client.bottom, Utf8(TextOf(window)).c_str());
  return TRUE;
}

// Wine does not implement GetGuiResources, so GDI objects are counted in the process's GDI
// handle table, which Wine keeps where the PEB points, as older Windows did; it keeps a 64-bit
// PEB for a 32-bit process too.
long long GdiObjects(HANDLE process) {
  // Wine's table: 65536 entries of 24 bytes; byte 12 holds the stock flag (0x80), byte 14
  // the type (0: free).
  constexpr size_t kEntry = 24;
  std::vector<BYTE> table(0x10000 * kEntry);
  PROCESS_BASIC_INFORMATION basic = {};
  UINT64 address = 0;
  if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic,
                                nullptr) != 0 ||
      !ReadProcessMemory(process, reinterpret_cast<char*>(basic.PebBaseAddress) + 0xF8, &address,
                         sizeof address, nullptr) ||
      !ReadProcessMemory(process, reinterpret_cast<void*>(address), table.data(), table.size(),
                         nullptr)) {
    return -1;
  }
  long long live = 0;
  for (size_t i = 0; i < table.size(); i += kEntry) {
    live += table[i + 14] != 0 && !(table[i + 12] & 0x80);
  }
  return live;
}

int Launch(const wchar_t* program, std::wstring command_line) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(program, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return 1;
  }
  std::printf("%lu\n", process.dwProcessId);
  std::fflush(stdout);
  DWORD exit_code = 0;
  WaitForSingleObject(process.hProcess, INFINITE);
  GetExitCodeProcess(process.hProcess, &exit_code);
  std::printf("%lu\n", exit_code);
  return static_cast<int>(exit_code);
}

// A window of another program that puts itself on top of every window every `interval` ms,
// never taking activation, as some notifiers and overlays do.
int KeepAbove(int left, int top, int width, int height, UINT interval) {
  HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, L"STATIC",
                                L"above", WS_POPUP, left, top, width, height, nullptr, nullptr,
                                nullptr, nullptr);
  if (!window) return 1;
  SetTimer(window, 1, interval, nullptr);
  for (MSG message; GetMessageW(&message, nullptr, 0, 0) > 0;) {
    if (message.message == WM_TIMER) {
      SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    DispatchMessageW(&message);
  }
  return 0;
}

int SetKey(const wchar_t* subkey) {
  RegDeleteTreeW(HKEY_CURRENT_USER, subkey);
  for (std::string line; std::getline(std::cin, line);) {
    std::istringstream fields(line);
    std::string name, hex;
    DWORD type = 0;
    fields >> name >> type >> hex;  // no hex: no bytes
    std::vector<BYTE> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
      bytes.push_back(static_cast<BYTE>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    const DWORD size = static_cast<DWORD>(bytes.size());
    // The system counts in a text's forgotten terminator where one follows the bytes in
    // memory; what follows here is none, so that the bytes are stored exactly.
    bytes.insert(bytes.end(), 4, 0xFF);
    if (RegSetKeyValueW(HKEY_CURRENT_USER, subkey, std::wstring(name.begin(), name.end()).c_str(),
                        type, bytes.data(), size) != ERROR_SUCCESS) {
      return 1;
    }
  }
  return 0;
}

int PrintKey(const wchar_t* subkey) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, subkey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return 0;
  std::vector<BYTE> bytes(1 << 20);
  wchar_t name[256];
  for (DWORD index = 0, length = 256, type = 0, size = static_cast<DWORD>(bytes.size());
       RegEnumValueW(key, index, name, &length, nullptr, &type, bytes.data(), &size) == 0;
       ++index, length = 256, size = static_cast<DWORD>(bytes.size())) {
    std::printf("%s\t%lu\t", Utf8(name).c_str(), type);
    for (DWORD i = 0; i < size; ++i) std::printf("%02x", bytes[i]);
    std::printf("\n");
  }
  return 0;
}

// A message's lParam as another program gives it: the number, except where it points to
// something, which the system copies to the receiving process when the message is sent (and
// refuses to post): WM_SETTEXT's is the text `given`, WM_NCCREATE's and WM_CREATE's a
// CREATESTRUCT whose creation parameter is the number, WM_GETMINMAXINFO's a MINMAXINFO.
struct LParam {
  LParam(UINT message, const wchar_t* given) : text(given) {
    const auto number = static_cast<LPARAM>(std::wcstoull(given, nullptr, 0));
    creation.lpCreateParams = reinterpret_cast<void*>(number);
    switch (message) {
      case WM_SETTEXT: value = reinterpret_cast<LPARAM>(text.c_str()); break;
      case WM_NCCREATE:
      case WM_CREATE: value = reinterpret_cast<LPARAM>(&creation); break;
      case WM_GETMINMAXINFO: value = reinterpret_cast<LPARAM>(&limits); break;
      default: value = number;
    }
  }
  LParam(const LParam&) = delete;
  std::wstring text;
  CREATESTRUCTW creation{};
  MINMAXINFO limits{};
  LPARAM value = 0;
};

BOOL CALLBACK PrintMonitor(HMONITOR monitor, HDC, RECT*, LPARAM) {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  GetMonitorInfoW(monitor, &info);
  const RECT& area = info.rcMonitor;
  std::printf("%ld\t%ld\t%ld\t%ld\t%d\n", area.left, area.top, area.right, area.bottom,
              (info.dwFlags & MONITORINFOF_PRIMARY) != 0);
  return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  const auto number = [&](int index) { return std::wcstoull(argv[index], nullptr, 0); };
  if (command == L"windows" && argc == 2) return EnumWindows(PrintWindow, 0), 0;
  if (command == L"monitors" && argc == 2) {
    std::printf("%d\t%d\t%d\t%d\n", GetSystemMetrics(SM_XVIRTUALSCREEN),
                GetSystemMetrics(SM_YVIRTUALSCREEN), GetSystemMetrics(SM_CXVIRTUALSCREEN),
                GetSystemMetrics(SM_CYVIRTUALSCREEN));
    return EnumDisplayMonitors(nullptr, nullptr, PrintMonitor, 0), 0;
  }
  if (command == L"launch" && argc == 4) return Launch(argv[2], argv[3]);
  if (command == L"registry" && argc == 3) return PrintKey(argv[2]);
  if (command == L"regset" && argc == 3) return SetKey(argv[2]);
  if (command == L"window" && argc == 3) {
    CreateWindowExW(0, L"STATIC", argv[2], 0, 0, 0, 80, 40, nullptr, nullptr, nullptr, nullptr);
    for (MSG message; GetMessageW(&message, nullptr, 0, 0) > 0;) DispatchMessageW(&message);
    return 0;
  }
  if (command == L"above" && (argc == 6 || argc == 7)) {
    const auto at = [&](int index) { return static_cast<int>(number(index)); };
    return KeepAbove(at(2), at(3), at(4), at(5), argc == 7 ? at(6) : 100);
  }
  if ((command == L"kill" || command == L"process") && argc == 3) {
    const HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, static_cast<DWORD>(number(2)));
    if (!process) return 1;
    if (command == L"kill") return TerminateProcess(process, 1) ? 0 : 1;
    PROCESS_MEMORY_COUNTERS memory = {};
    GetProcessMemoryInfo(process, &memory, sizeof memory);
    std::printf("%lld\t%zu\t%zu\n", GdiObjects(process), memory.PagefileUsage,
                memory.WorkingSetSize);
    return 0;
  }
  const HWND window = argc > 2 ? reinterpret_cast<HWND>(number(2)) : nullptr;
  if (!IsWindow(window)) return argc > 2 ? 1 : 2;
  if (command == L"windows" && argc == 3) return EnumChildWindows(window, PrintWindow, 0), 0;
  // Posted unless sent: a close may end the target before it could answer. A count posts it
  // that many times in a row, faster than a user could. A message the system refuses prints
  // its error code; a sent one prints the answer.
  const bool post = command == L"post" && (argc == 4 || argc == 5 || argc == 7);
  if (post || (command == L"send" && (argc == 4 || argc == 6))) {
    const int parameters = post ? 5 : 4;
    const auto message = static_cast<UINT>(number(3));
    const WPARAM wparam = argc > parameters ? number(parameters) : 0;
    const LParam lparam(message, argc > parameters ? argv[parameters + 1] : L"0");
    if (!post) {
      DWORD_PTR answer = 0;
      if (!SendMessageTimeoutW(window, message, wparam, lparam.value, SMTO_ABORTIFHUNG, 10000,
                               &answer)) {
        return std::printf("error\t%lu\n", GetLastError()), 0;
      }
      return std::printf("%lld\n", static_cast<long long>(answer)), 0;
    }
    for (auto times = argc > 4 ? number(4) : 1; times > 0; --times) {
      if (!PostMessageW(window, message, wparam, lparam.value)) {
        return std::printf("error\t%lu\n", GetLastError()), 0;
      }
    }
    return 0;
  }
  if (command == L"show" && argc == 4) return ShowWindow(window, static_cast<int>(number(3))), 0;
  if (command == L"move" && argc == 7) {
    const auto at = [&](int index) { return static_cast<int>(std::wcstol(argv[index], nullptr, 0)); };
    return SetWindowPos(window, nullptr, at(3), at(4), at(5), at(6),
                        SWP_NOZORDER | SWP_NOACTIVATE) ? 0 : 1;
  }
  return 2;
}
