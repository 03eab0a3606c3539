// Process-wide services: command line, ending, previous instance, environment, locale, time,
// message boxes, cursor, pacing, and the system's screen-saver functions bound at run time.
#include <string>

#include "base/fault.h"
#include "command_line.h"
#include "frame_pause.h"
#include "win32_platform.h"

namespace fq::win32 {
namespace {

// A named object that lives as long as some copy of the program holds it: the handle is never
// closed, so each process holds it to its end. The name does not come from the file name, so
// a copy renamed to another .scr counts as the same program; it is per session, like the
// windows the guard searches.
bool CreateInstanceMarker() {
  const HANDLE marker = CreateMutexW(nullptr, FALSE, L"Local\\FlyingQuorlin.Instance.7c3e1f0a");
  const DWORD error = GetLastError();
  // A copy running with other rights (elevated) made a marker this one may not open: it exists.
  if (marker == nullptr) return error == ERROR_ACCESS_DENIED;
  return error == ERROR_ALREADY_EXISTS;
}

// The program's path as the system reports it, long or short (8.3).
std::wstring OwnPath(bool short_form) {
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  if (!short_form) return path;
  std::wstring short_path(32768, L'\0');
  short_path.resize(GetShortPathNameW(path.c_str(), short_path.data(),
                                      static_cast<DWORD>(short_path.size())));
  return short_path;
}

std::wstring_view FileNameOf(std::wstring_view path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring_view::npos ? path : path.substr(slash + 1);
}

// Binds a system function by name when it is first needed; nothing where it is missing.
template <typename Function>
Function BindFunction(const char* library, const char* name) {
  HMODULE module = LoadLibraryA(library);
  FARPROC address = module ? GetProcAddress(module, name) : nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}

// The platform whose saver a fault takes down before its box shows.
Win32Platform* running_platform = nullptr;

// Where the fault's box goes: the middle of `fault_box_area`, set before the box is made.
RECT fault_box_area{};

LRESULT CALLBACK CentreFaultBox(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_ACTIVATE) {
    const auto box = reinterpret_cast<HWND>(wparam);
    RECT size{};
    GetWindowRect(box, &size);
    const RECT& area = fault_box_area;
    SetWindowPos(box, HWND_TOPMOST,
                 area.left + (area.right - area.left - (size.right - size.left)) / 2,
                 area.top + (area.bottom - area.top - (size.bottom - size.top)) / 2, 0, 0,
                 SWP_NOSIZE);
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

// Not in MinGW's headers yet: a timer that keeps about half a millisecond (Windows 10 1803 and
// later) without raising the system's timer resolution; older systems refuse the flag.
constexpr DWORD kCreateWaitableTimerHighResolution = 0x00000002;

HANDLE CreatePauseTimer(CreateTimerFunction create) {
  return create ? create(nullptr, nullptr, kCreateWaitableTimerHighResolution,
                         SYNCHRONIZE | TIMER_MODIFY_STATE)
                : nullptr;
}

// The pause's waits on this system: MsgWaitForMultipleObjects on the timer and the queue.
class SystemPauseWaits final : public PauseWaits {
 public:
  SystemPauseWaits(HANDLE timer, Pacing& pacing) : timer_(timer), pacing_(pacing) {}

  bool SetTimer(int32_t milliseconds) override {
    LARGE_INTEGER due{};
    due.QuadPart = -10000LL * milliseconds;  // relative, in 100 ns units
    return timer_ && SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE);
  }
  Woken WaitForTimerOrInput() override {
    return MsgWaitForMultipleObjectsEx(1, &timer_, INFINITE, QS_ALLINPUT,
                                       MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0 + 1
               ? Woken::Input
               : Woken::Deadline;
  }
  Woken WaitForInput(uint32_t milliseconds) override {
    return MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds, QS_ALLINPUT,
                                       MWMO_INPUTAVAILABLE) == WAIT_TIMEOUT
               ? Woken::Deadline
               : Woken::Input;
  }
  uint64_t Now() override { return GetTickCount64(); }
  void ServeInput() override { pacing_.YieldToMessageLoop(); }

 private:
  HANDLE timer_;
  Pacing& pacing_;
};

}  // namespace

CreateTimerFunction FindCreateTimer() {
  return BindFunction<CreateTimerFunction>("kernel32.dll", "CreateWaitableTimerExW");
}

Win32Platform::Win32Platform(HINSTANCE instance, int art_scale, CreateTimerFunction create_timer)
    : instance_(instance),
      previous_instance_(CreateInstanceMarker()),
      pause_timer_(CreatePauseTimer(create_timer)),
      sheets_(instance),
      stage_(sheets_, art_scale) {
  running_platform = this;
}

// The covers' windows go with the platform, after whoever took their events.
Win32Platform::~Win32Platform() {
  saver_events_ = nullptr;
  if (running_platform == this) running_platform = nullptr;
  if (pause_timer_) CloseHandle(pause_timer_);
}

std::optional<RECT> Win32Platform::TakeDownSaverForFault() {
  if (!saver_) return std::nullopt;
  saver_events_ = nullptr;
  covers_.clear();
  DestroyWindow(saver_);
  saver_ = nullptr;
  while (ChangePointerCount(true) < 0) continue;
  return saver_shown_ ? monitors_.primary : PrimaryByMetrics();
}

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

bool Win32Platform::AnyWindowLoaded() { return saver_ != nullptr || dialog_ != nullptr; }

std::string Win32Platform::ArgumentText() {
  const std::wstring long_path = OwnPath(false);
  const std::wstring short_path = OwnPath(true);
  return Narrow(ArgumentsOf(GetCommandLineW(), {long_path, short_path, FileNameOf(long_path),
                                                FileNameOf(short_path)}));
}

void Win32Platform::EndProcessNow() { ExitProcess(0); }

bool Win32Platform::PreviousInstanceRunning() { return previous_instance_; }

std::string Win32Platform::EnvironmentVariable(std::string_view name) {
  const std::wstring wide_name = Widen(name);
  const DWORD length = GetEnvironmentVariableW(wide_name.c_str(), nullptr, 0);
  if (length == 0) return {};
  std::wstring value(length, L'\0');
  const DWORD written = GetEnvironmentVariableW(wide_name.c_str(), value.data(), length);
  value.resize(written);
  return Narrow(value);
}

char Win32Platform::DecimalSeparator() {
  wchar_t separator[8] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) == 2 &&
      separator[0] > 0x20 && separator[0] < 0x7F) {
    return static_cast<char>(separator[0]);
  }
  return '.';
}

float Win32Platform::SecondsSinceMidnight() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return static_cast<float>(now.wHour * 3600 + now.wMinute * 60 + now.wSecond) +
         static_cast<float>(now.wMilliseconds) / 1000.0f;
}

bool Win32Platform::TopLevelWindowExists(std::string_view title) {
  const std::string ansi_title(title);
  return FindWindowA(nullptr, ansi_title.c_str()) != nullptr;
}

void Win32Platform::ChangeScreenSaverPassword(int32_t parent_window) {
  using PwdChangePasswordA = DWORD(WINAPI*)(LPCSTR, HWND, UINT, UINT);
  const auto change = BindFunction<PwdChangePasswordA>("mpr.dll", "PwdChangePasswordA");
  // Where the service does not exist there is nothing to report: its failures never are.
  if (change) change("SCRSAVE", reinterpret_cast<HWND>(static_cast<intptr_t>(parent_window)), 0, 0);
}

std::optional<int32_t> Win32Platform::VerifyScreenSaverPassword() {
  using VerifyScreenSavePwd = BOOL(WINAPI*)(HWND);
  const auto verify = BindFunction<VerifyScreenSavePwd>("password.cpl", "VerifyScreenSavePwd");
  if (!verify) return std::nullopt;
  return static_cast<int32_t>(verify(saver_));
}

void Win32Platform::ClearScreenSaverRunning() {
  UINT previous = 0;
  SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 0, &previous, 0);
}

int32_t Win32Platform::ChangePointerCount(bool show) { return ::ShowCursor(show ? TRUE : FALSE); }

void Win32Platform::YieldToMessageLoop() {
  KeepScreensCovered(false);
  WatchForeground();
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (TranslateDialogMessage(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void Win32Platform::Pause(int32_t milliseconds) {
  SystemPauseWaits waits(pause_timer_, *this);
  win32::Pause(waits, milliseconds);
}

void ThrowSystemFault(const std::string& what) {
  throw Fault(FaultKind::PlatformFailure,
              what + " (error " + std::to_string(GetLastError()) + ").");
}

namespace {

// The exception being handled, as the box words it; told apart by a rethrow, since the
// Windows programs are built without run-time type information.
std::string FaultBoxTextOfCurrentException() {
  try {
    throw;
  } catch (const Fault& known) {
    return FaultBoxText(known);
  } catch (const std::exception& other) {
    return std::string("Error\n\n") + other.what();
  }
}

}  // namespace

// The saver's windows go first: topmost, with the pointer hidden, they would hide the box,
// and their input would end the program as a dismissal, with the wrong exit code. The box
// comes up on top, over the primary monitor as the saver last saw it.
void ReportFaultAndExit() {
  const std::string text = FaultBoxTextOfCurrentException();
  const std::optional<RECT> area =
      running_platform ? running_platform->TakeDownSaverForFault() : std::nullopt;
  if (area) {
    fault_box_area = *area;
    SetWindowsHookExW(WH_CBT, CentreFaultBox, nullptr, GetCurrentThreadId());
  }
  MessageBoxW(nullptr, Widen(text).c_str(), kApplicationTitle,
              MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND | MB_TOPMOST);
  ExitProcess(kFaultExitCode);
}

}  // namespace fq::win32
