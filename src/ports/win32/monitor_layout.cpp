// The monitors as the system shows them, each with the scale of its own DPI. The program is
// aware of each monitor's DPI (manifest.rc): where the system can say it (Windows 8.1 on), each
// monitor's flock is drawn at its own scale, from the art drawn for it.
#include <new>

#include "platform/screen_scale.h"
#include "win32_platform.h"

namespace fq::win32 {
namespace {

// shcore.dll's GetDpiForMonitor, looked up rather than imported: systems before Windows 8.1
// have none, and the program must start there too.
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

// Looked up once, on first use, by the one thread: no guarded static, which would link in the
// runtime's locks.
GetDpiForMonitorFunction get_dpi_for_monitor = nullptr;
bool get_dpi_looked_up = false;

GetDpiForMonitorFunction GetDpiForMonitorOrNone() {
  if (!get_dpi_looked_up) {
    HMODULE shcore = LoadLibraryW(L"shcore.dll");
    FARPROC found = shcore ? GetProcAddress(shcore, "GetDpiForMonitor") : nullptr;
    get_dpi_for_monitor =
        reinterpret_cast<GetDpiForMonitorFunction>(reinterpret_cast<void*>(found));
    get_dpi_looked_up = true;
  }
  return get_dpi_for_monitor;
}

// A fault cannot unwind through the system's frames: the callback notes it here (the list's
// growth is all that can fail), stops the enumeration, and the caller throws it once the system
// call has returned.
struct EnumeratedMonitors {
  MonitorLayout layout;
  bool primary_found = false;
  bool out_of_memory = false;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, RECT*, LPARAM found) {
  auto& monitors = *reinterpret_cast<EnumeratedMonitors*>(found);
  try {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info)) return TRUE;
    if (info.dwFlags & MONITORINFOF_PRIMARY) {
      monitors.layout.primary = info.rcMonitor;
      monitors.primary_found = true;
    } else {
      monitors.layout.others.push_back({info.rcMonitor, MonitorScale(monitor)});
    }
    return TRUE;
  } catch (const std::bad_alloc&) {
    monitors.out_of_memory = true;
    return FALSE;
  }
}

}  // namespace

int MonitorScale(HMONITOR monitor) {
  const GetDpiForMonitorFunction get_dpi = GetDpiForMonitorOrNone();
  UINT dpi_x = 0, dpi_y = 0;
  if (get_dpi && SUCCEEDED(get_dpi(monitor, kEffectiveDpi, &dpi_x, &dpi_y))) {
    return ScaleForDpi(static_cast<int>(dpi_y));
  }
  return ScaleForDpi(ScreenDpi());
}

bool PlacedMonitor::operator==(const PlacedMonitor& other) const {
  return EqualRect(&area, &other.area) && scale == other.scale;
}

bool MonitorLayout::operator==(const MonitorLayout& other) const {
  return EqualRect(&primary, &other.primary) && others == other.others;
}

std::optional<MonitorLayout> CurrentMonitorLayout() {
  EnumeratedMonitors monitors;
  const bool enumerated =
      EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  if (monitors.out_of_memory) throw std::bad_alloc();
  if (!enumerated || !monitors.primary_found || IsRectEmpty(&monitors.layout.primary)) {
    return std::nullopt;
  }
  return monitors.layout;
}

}  // namespace fq::win32
