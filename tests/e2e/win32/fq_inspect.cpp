// fq_inspect.exe: what the end-to-end tests see and do under Wine beside the program. It prints
// plain lines of tab-separated fields in UTF-8; exit code 1 when the window, process or key
// named is not there, 2 on bad usage.
//   windows [<hwnd>]     the top-level windows, or a window's descendants: hwnd pid class
//                        visible focused owner style exstyle window-rect client-rect text
//   post <hwnd> <msg>    posts a message without parameters (WM_CLOSE, BM_CLICK)
//   launch <program> <command line>
//                        starts the program with exactly that command line, prints its pid,
//                        waits, then prints its exit code
//   kill <pid>           ends a process at once
//   process <pid>        its live GDI objects, pagefile usage and working set
//   registry <subkey>    name type hex-bytes, for each value of a key of HKEY_CURRENT_USER
//   regset <subkey>      replaces that key by the values on stdin, written as registry prints
//   window <title>       keeps a hidden window with that title until ended
#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <cstdio>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Field(const std::wstring& text) {
  std::string out(text.size() * 3, '\0');
  out.resize(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                 out.data(), static_cast<int>(out.size()), nullptr, nullptr));
  // One line per window: a line break or tab inside a text becomes a blank.
  for (char& c : out) c = (c == '\t' || c == '\n' || c == '\r') ? ' ' : c;
  return out;
}

std::string Field(long long number) { return std::to_string(number); }

void Print(std::initializer_list<std::string> fields) {
  std::string line;
  for (const std::string& field : fields) line += (line.empty() ? "" : "\t") + field;
  std::printf("%s\n", line.c_str());
}

// A window's text as its own window procedure gives it, which also reaches edit controls of
// another process.
std::wstring TextOf(HWND window) {
  DWORD_PTR length = 0, copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length);
  std::wstring text(length + 1, L'\0');
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
  Print({Field(reinterpret_cast<intptr_t>(window)), Field(pid), Field(window_class),
         Field(IsWindowVisible(window)), Field(thread.hwndFocus == window),
         Field(reinterpret_cast<intptr_t>(GetWindow(window, GW_OWNER))),
         Field(static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE))),
         Field(static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE))), Field(outer.left),
         Field(outer.top), Field(outer.right), Field(outer.bottom), Field(client.left),
         Field(client.top), Field(client.right), Field(client.bottom), Field(TextOf(window))});
  return TRUE;
}

// Wine does not implement GetGuiResources, so GDI objects are counted in the process's GDI
// handle table, which Wine keeps where the PEB points, as older Windows did; it keeps a 64-bit
// PEB for a 32-bit process too.
long long GdiObjects(HANDLE process) {
  struct Entry {  // Wine's layout: 24 bytes, 65536 entries
    UINT64 object;
    USHORT owner_pid, owner_count;
    UCHAR ext_type, generation, type, flags;  // ext_type's top bit: a stock object; type 0: free
    UINT64 user;
  };
  const size_t count = 0x10000;
  const auto entries = std::make_unique<Entry[]>(count);
  PROCESS_BASIC_INFORMATION basic = {};
  UINT64 table = 0;
  if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic,
                                nullptr) != 0 ||
      !ReadProcessMemory(process, reinterpret_cast<char*>(basic.PebBaseAddress) + 0xF8, &table,
                         sizeof table, nullptr) ||
      !ReadProcessMemory(process, reinterpret_cast<void*>(table), entries.get(),
                         count * sizeof(Entry), nullptr)) {
    return -1;
  }
  long long live = 0;
  for (size_t i = 0; i < count; ++i) live += entries[i].type != 0 && !(entries[i].ext_type & 0x80);
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

int SetKey(const wchar_t* subkey) {
  const LSTATUS deleted = RegDeleteTreeW(HKEY_CURRENT_USER, subkey);
  if (deleted != ERROR_SUCCESS && deleted != ERROR_FILE_NOT_FOUND) return 1;
  for (std::string line; std::getline(std::cin, line);) {
    std::istringstream fields(line);
    std::string name, hex;
    DWORD type = 0;
    fields >> name >> type >> hex;  // no hex: no bytes
    std::vector<BYTE> bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) bytes.push_back(std::stoi(hex.substr(i, 2), 0, 16));
    const DWORD size = static_cast<DWORD>(bytes.size());
    // The system counts in a text's forgotten terminator where one follows the bytes in
    // memory; what follows here is none, so that the bytes are stored exactly.
    bytes.insert(bytes.end(), 4, 0xFF);
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, subkey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS ||
        RegSetValueExW(key, std::wstring(name.begin(), name.end()).c_str(), 0, type, bytes.data(),
                       size) != ERROR_SUCCESS) {
      return 1;
    }
    RegCloseKey(key);
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
    std::string hex;
    char pair[3];
    for (DWORD i = 0; i < size; ++i) hex += (std::snprintf(pair, 3, "%02x", bytes[i]), pair);
    Print({Field(name), Field(type), hex});
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  const auto number = [&](int index) { return std::wcstoull(argv[index], nullptr, 0); };
  if (command == L"windows" && argc == 2) return EnumWindows(PrintWindow, 0), 0;
  if (command == L"launch" && argc == 4) return Launch(argv[2], argv[3]);
  if (command == L"registry" && argc == 3) return PrintKey(argv[2]);
  if (command == L"regset" && argc == 3) return SetKey(argv[2]);
  if (command == L"window" && argc == 3) {
    CreateWindowExW(0, L"STATIC", argv[2], 0, 0, 0, 80, 40, nullptr, nullptr, nullptr, nullptr);
    for (MSG message; GetMessageW(&message, nullptr, 0, 0) > 0;) DispatchMessageW(&message);
    return 0;
  }
  if ((command == L"kill" || command == L"process") && argc == 3) {
    const HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, static_cast<DWORD>(number(2)));
    if (!process) return 1;
    if (command == L"kill") return TerminateProcess(process, 1) ? 0 : 1;
    PROCESS_MEMORY_COUNTERS memory = {};
    GetProcessMemoryInfo(process, &memory, sizeof memory);
    Print({Field(GdiObjects(process)), Field(memory.PagefileUsage), Field(memory.WorkingSetSize)});
    return 0;
  }
  const HWND window = argc > 2 ? reinterpret_cast<HWND>(number(2)) : nullptr;
  if (!IsWindow(window)) return argc > 2 ? 1 : 2;
  if (command == L"windows" && argc == 3) return EnumChildWindows(window, PrintWindow, 0), 0;
  // Posted, not sent: a close may end the target before it could answer.
  if (command == L"post" && argc == 4) return PostMessageW(window, number(3), 0, 0) ? 0 : 1;
  return 2;
}
