// The settings store: text values under the per-user key that earlier builds of this saver
// used, so that their stored settings keep working.
#include <vector>

#include "base/fault.h"
#include "win32_platform.h"

namespace fq::win32 {
namespace {

std::wstring KeyPath(std::string_view app, std::string_view section) {
  return L"Software\\VB and VBA Program Settings\\" + Widen(app) + L"\\" + Widen(section);
}

}  // namespace

std::optional<std::string> Win32Platform::ReadSetting(std::string_view app,
                                                      std::string_view section,
                                                      std::string_view key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, KeyPath(app, section).c_str(), 0, KEY_QUERY_VALUE,
                    &handle) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  const std::wstring name = Widen(key);
  DWORD type = 0;
  DWORD size = 0;
  std::optional<std::string> text;
  if (RegQueryValueExW(handle, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ)) {
    std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(handle, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                         &size) == ERROR_SUCCESS) {
      // The stored text ends at its first terminator, whether or not one was stored; a
      // hand-made value of an odd byte count loses its half character, and nothing past
      // the bytes read is looked at.
      std::wstring_view stored(data.data(), size / sizeof(wchar_t));
      text = Narrow(stored.substr(0, stored.find(L'\0')));
    }
  }
  RegCloseKey(handle);
  return text;
}

void Win32Platform::WriteSetting(std::string_view app, std::string_view section,
                                 std::string_view key, std::string_view value) {
  HKEY handle = nullptr;
  LONG status = RegCreateKeyExW(HKEY_CURRENT_USER, KeyPath(app, section).c_str(), 0, nullptr, 0,
                                KEY_SET_VALUE, nullptr, &handle, nullptr);
  if (status == ERROR_SUCCESS) {
    const std::wstring data = Widen(value);
    status = RegSetValueExW(handle, Widen(key).c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(data.c_str()),
                            static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
  }
  if (status != ERROR_SUCCESS) {
    throw Fault(FaultKind::PlatformFailure,
                "The setting \"" + std::string(key) + "\" could not be saved (error " +
                    std::to_string(status) + ").");
  }
}

}  // namespace fq::win32
