// fq_inspect.exe: a console tool that the end-to-end tests run under Wine beside the program
// under test. It reports windows, controls, message boxes and registry values as one JSON
// document on stdout, and acts on windows the way a user's click or a system close would.
// Exit codes: 0 done, 1 the window, button or value named cannot be found or written,
// 2 bad command line.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "json_writer.h"
#include "process_info.h"
#include "registry_info.h"
#include "window_info.h"

namespace fq::inspect {
namespace {

constexpr char kUsage[] =
    "usage: fq_inspect <command> [arguments]\n"
    "  windows                  every top-level window\n"
    "  controls <hwnd>          the child windows of a window\n"
    "  msgbox                   every visible message box (dialog-class window)\n"
    "  click <hwnd> <text>      presses the button with that text inside the window\n"
    "  settext <hwnd> <text>    sets a window's text (WM_SETTEXT)\n"
    "  gettext <hwnd>           a window's text (WM_GETTEXT)\n"
    "  close <hwnd>             asks a window to close (WM_CLOSE)\n"
    "  launch <program> <argument text>\n"
    "                           starts the program with exactly that text after its quoted\n"
    "                           path, prints its pid, waits, prints its exit code, exits with it\n"
    "  kill <pid>               ends a process at once\n"
    "  process <pid>            a process's GDI objects, windows and memory\n"
    "  registry <subkey>        the values of a key under HKEY_CURRENT_USER\n"
    "  regdelete <subkey>       removes that key and everything below it\n"
    "  regwrite <subkey> (<name> <type> <hex bytes>)...\n"
    "                           stores values of any type number with exact bytes\n";

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "fq_inspect: %s\n", message.c_str());
  return code;
}

// A window handle in decimal or 0x-hexadecimal; nullptr unless it names an existing window.
HWND WindowArgument(const wchar_t* text) {
  wchar_t* end = nullptr;
  const unsigned long long number = std::wcstoull(text, &end, 0);
  HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(number));
  return (*end == L'\0' && IsWindow(window)) ? window : nullptr;
}

int Print(const JsonWriter& json) {
  std::fputs(json.str().c_str(), stdout);
  std::fputs("\n", stdout);
  return 0;
}

// Unlike a command line rebuilt from separate arguments, this keeps the argument text exact:
// doubled blanks, tabs and quotes reach the program as given.
int Launch(const std::wstring& program, const std::wstring& argument_text) {
  std::wstring command_line = L"\"" + program + L"\"";
  if (!argument_text.empty()) command_line += L" " + argument_text;
  std::wstring folder = program.substr(0, program.find_last_of(L"\\/") + 1);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
    return Fail(1, "the program could not be started (error " + std::to_string(GetLastError()) +
                       ")");
  }
  JsonWriter started;
  started.BeginObject().Key("pid").Number(process.dwProcessId).EndObject();
  Print(started);
  std::fflush(stdout);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exit_code = 0;
  GetExitCodeProcess(process.hProcess, &exit_code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  JsonWriter ended;
  ended.BeginObject().Key("exit_code").Number(exit_code).EndObject();
  Print(ended);
  return static_cast<int>(exit_code);
}

int Kill(const wchar_t* pid_text) {
  wchar_t* end = nullptr;
  const DWORD pid = std::wcstoul(pid_text, &end, 0);
  HANDLE process = *end == L'\0' ? OpenProcess(PROCESS_TERMINATE, FALSE, pid) : nullptr;
  if (!process) return Fail(1, "no process with the id " + Utf8(pid_text));
  const bool ended = TerminateProcess(process, 1);
  CloseHandle(process);
  JsonWriter json;
  json.BeginObject().Key("killed").Bool(ended).EndObject();
  return Print(json);
}

int Run(int argc, wchar_t** argv) {
  if (argc < 2) return Fail(2, kUsage);
  const std::wstring command = argv[1];
  JsonWriter json;
  if (command == L"windows" && argc == 2) {
    WriteTopLevelWindows(json);
    return Print(json);
  }
  if (command == L"msgbox" && argc == 2) {
    WriteMessageBoxes(json);
    return Print(json);
  }
  if (command == L"launch" && argc == 4) return Launch(argv[2], argv[3]);
  if (command == L"kill" && argc == 3) return Kill(argv[2]);
  if (command == L"process" && argc == 3) {
    wchar_t* end = nullptr;
    const DWORD pid = std::wcstoul(argv[2], &end, 0);
    if (*end != L'\0' || !WriteProcessInfo(json, pid)) {
      return Fail(1, "no process with the id " + Utf8(argv[2]));
    }
    return Print(json);
  }
  if (command == L"registry" && argc == 3) {
    WriteUserKey(json, argv[2]);
    return Print(json);
  }
  if (command == L"regdelete" && argc == 3) {
    if (!DeleteUserKey(argv[2])) return Fail(1, "the key could not be deleted");
    json.BeginObject().Key("deleted").Bool(true).EndObject();
    return Print(json);
  }
  if (command == L"regwrite" && argc >= 6 && (argc - 3) % 3 == 0) {
    for (int i = 3; i < argc; i += 3) {
      wchar_t* end = nullptr;
      const DWORD type = std::wcstoul(argv[i + 1], &end, 0);
      if (*end != L'\0' || !StoreUserValue(argv[2], argv[i], type, argv[i + 2])) {
        return Fail(1, "the value \"" + Utf8(argv[i]) + "\" could not be stored");
      }
    }
    json.BeginObject().Key("stored").Number((argc - 3) / 3).EndObject();
    return Print(json);
  }
  const bool with_window = (argc == 3 && (command == L"controls" || command == L"gettext" ||
                                          command == L"close")) ||
                           (argc == 4 && (command == L"click" || command == L"settext"));
  if (!with_window) return Fail(2, kUsage);
  HWND window = WindowArgument(argv[2]);
  if (!window) return Fail(1, "no window with the handle " + Utf8(argv[2]));

  if (command == L"controls") {
    WriteControls(json, window);
  } else if (command == L"gettext") {
    json.BeginObject().Key("text").Text(WindowText(window)).EndObject();
  } else if (command == L"close") {
    // Posted, not sent: the close may end the target process before it could answer.
    PostMessageW(window, WM_CLOSE, 0, 0);
    json.BeginObject().Key("closed").Bool(true).EndObject();
  } else if (command == L"click") {
    HWND button = FindButton(window, argv[3]);
    if (!button) return Fail(1, "no button \"" + Utf8(argv[3]) + "\" in that window");
    PostMessageW(button, BM_CLICK, 0, 0);
    json.BeginObject().Key("clicked").Number(reinterpret_cast<intptr_t>(button)).EndObject();
  } else {
    DWORD_PTR result = 0;
    const bool sent = SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[3]),
                                          SMTO_ABORTIFHUNG, 2000, &result);
    json.BeginObject().Key("set").Bool(sent && result).EndObject();
  }
  return Print(json);
}

}  // namespace
}  // namespace fq::inspect

int wmain(int argc, wchar_t** argv) { return fq::inspect::Run(argc, argv); }
