// Reads another process's resource figures. Wine does not implement GetGuiResources, so the
// GDI count also comes from the process's own handle table, which Wine (like older Windows)
// keeps in memory the PEB points to; each entry names the object's type, zero when free.
#include "process_info.h"

#include <psapi.h>
#include <winternl.h>

#include <memory>
#include <optional>

namespace fq::inspect {
namespace {

// One entry of the GDI handle table as Wine lays it out (24 bytes, 65536 entries).
struct GdiHandleEntry {
  UINT64 object;
  USHORT owner_pid;
  USHORT owner_count;
  UCHAR ext_type;  // top bit: a stock object
  UCHAR generation;
  UCHAR type;  // 0: free
  UCHAR flags;
  UINT64 user_pointer;
};
static_assert(sizeof(GdiHandleEntry) == 24);
constexpr size_t kGdiHandleCount = 0x10000;
constexpr UCHAR kStockFlag = 0x80;
// PEB.GdiSharedHandleTable on x86_64.
constexpr size_t kPebGdiTableOffset = 0xF8;

std::optional<int64_t> GdiObjectCount(HANDLE process) {
  using QueryInformationProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<QueryInformationProcess>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION basic = {};
  if (!query || query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) {
    return std::nullopt;
  }
  UINT64 table = 0;
  if (!ReadProcessMemory(process, reinterpret_cast<const char*>(basic.PebBaseAddress) +
                                      kPebGdiTableOffset,
                         &table, sizeof table, nullptr) ||
      table == 0) {
    return std::nullopt;
  }
  const auto entries = std::make_unique<GdiHandleEntry[]>(kGdiHandleCount);
  if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.get(),
                         kGdiHandleCount * sizeof(GdiHandleEntry), nullptr)) {
    return std::nullopt;
  }
  int64_t live = 0;
  for (size_t i = 0; i < kGdiHandleCount; ++i) {
    if (entries[i].type != 0 && !(entries[i].ext_type & kStockFlag)) ++live;
  }
  return live;
}

struct WindowTally {
  DWORD pid;
  int64_t count = 0;
};

BOOL CALLBACK CountChild(HWND, LPARAM tally) {
  ++reinterpret_cast<WindowTally*>(tally)->count;
  return TRUE;
}

void CountOwned(HWND window, WindowTally& tally) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != tally.pid) return;
  ++tally.count;
  EnumChildWindows(window, CountChild, reinterpret_cast<LPARAM>(&tally));
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM tally) {
  CountOwned(window, *reinterpret_cast<WindowTally*>(tally));
  return TRUE;
}

int64_t WindowCount(DWORD pid) {
  WindowTally tally{pid};
  EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&tally));
  for (HWND window = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); window;
       window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr)) {
    CountOwned(window, tally);
  }
  return tally.count;
}

void GuiResource(JsonWriter& json, HANDLE process, DWORD which) {
  SetLastError(0);
  const DWORD count = GetGuiResources(process, which);
  if (count == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) {
    json.Null();
  } else {
    json.Number(count);
  }
}

}  // namespace

bool WriteProcessInfo(JsonWriter& json, DWORD pid) {
  const HANDLE process =
      OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) return false;
  json.BeginObject().Key("pid").Number(pid);
  json.Key("gui_resources").BeginObject().Key("gdi");
  GuiResource(json, process, GR_GDIOBJECTS);
  json.Key("user");
  GuiResource(json, process, GR_USEROBJECTS);
  json.EndObject();
  json.Key("gdi_objects");
  if (const std::optional<int64_t> gdi = GdiObjectCount(process)) {
    json.Number(*gdi);
  } else {
    json.Null();
  }
  json.Key("windows").Number(WindowCount(pid));
  PROCESS_MEMORY_COUNTERS_EX memory = {};
  memory.cb = sizeof memory;
  json.Key("memory").BeginObject();
  if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                           sizeof memory)) {
    json.Key("private_usage").Number(static_cast<int64_t>(memory.PrivateUsage));
    json.Key("pagefile_usage").Number(static_cast<int64_t>(memory.PagefileUsage));
    json.Key("working_set").Number(static_cast<int64_t>(memory.WorkingSetSize));
  }
  json.EndObject().EndObject();
  CloseHandle(process);
  return true;
}

}  // namespace fq::inspect
