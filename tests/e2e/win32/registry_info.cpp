// Registry values for the inspector (see registry_info.h).
#include "registry_info.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <vector>

namespace fq::inspect {
namespace {

const char* TypeName(DWORD type) {
  switch (type) {
    case REG_NONE: return "REG_NONE";
    case REG_SZ: return "REG_SZ";
    case REG_EXPAND_SZ: return "REG_EXPAND_SZ";
    case REG_BINARY: return "REG_BINARY";
    case REG_DWORD: return "REG_DWORD";
    case REG_DWORD_BIG_ENDIAN: return "REG_DWORD_BIG_ENDIAN";
    case REG_MULTI_SZ: return "REG_MULTI_SZ";
    case REG_QWORD: return "REG_QWORD";
    default: return "REG_UNKNOWN";
  }
}

std::wstring_view WideOf(const std::vector<BYTE>& bytes) {
  return {reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t)};
}

void WriteData(JsonWriter& json, DWORD type, const std::vector<BYTE>& bytes) {
  if (type == REG_SZ || type == REG_EXPAND_SZ) {
    const std::wstring_view all = WideOf(bytes);
    json.Text(all.substr(0, all.find(L'\0')));
  } else if (type == REG_DWORD && bytes.size() == 4) {
    DWORD value = 0;
    std::memcpy(&value, bytes.data(), 4);
    json.Number(value);
  } else if (type == REG_QWORD && bytes.size() == 8) {
    int64_t value = 0;
    std::memcpy(&value, bytes.data(), 8);
    json.Number(value);
  } else if (type == REG_MULTI_SZ) {
    json.BeginArray();
    std::wstring_view rest = WideOf(bytes);
    while (!rest.empty() && rest.front() != L'\0') {
      const size_t end = rest.find(L'\0');
      json.Text(rest.substr(0, end));
      rest = end == std::wstring_view::npos ? std::wstring_view() : rest.substr(end + 1);
    }
    json.EndArray();
  } else {
    json.Null();
  }
}

std::string Hex(const std::vector<BYTE>& bytes) {
  std::string hex;
  for (const BYTE b : bytes) {
    char pair[3];
    std::snprintf(pair, sizeof pair, "%02x", b);
    hex += pair;
  }
  return hex;
}

}  // namespace

void WriteUserKey(JsonWriter& json, const std::wstring& subkey) {
  HKEY key = nullptr;
  const bool exists =
      RegOpenKeyExW(HKEY_CURRENT_USER, subkey.c_str(), 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS;
  json.BeginObject().Key("exists").Bool(exists).Key("values").BeginArray();
  for (DWORD index = 0; exists; ++index) {
    wchar_t name[16384];
    DWORD name_length = 16384;
    DWORD type = 0;
    DWORD size = 0;
    if (RegEnumValueW(key, index, name, &name_length, nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS) {
      break;
    }
    std::vector<BYTE> bytes(size);
    RegQueryValueExW(key, name, nullptr, &type, bytes.data(), &size);
    bytes.resize(size);
    json.BeginObject()
        .Key("name").Text(std::wstring_view(name, name_length))
        .Key("type").Text(TypeName(type))
        .Key("data");
    WriteData(json, type, bytes);
    json.Key("hex").Text(Hex(bytes)).EndObject();
  }
  json.EndArray().EndObject();
  if (exists) RegCloseKey(key);
}

bool DeleteUserKey(const std::wstring& subkey) {
  const LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, subkey.c_str());
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool StoreUserValue(const std::wstring& subkey, const std::wstring& name, DWORD type,
                    const std::wstring& hex_bytes) {
  if (hex_bytes.size() % 2 != 0) return false;
  std::vector<BYTE> bytes;
  for (size_t i = 0; i < hex_bytes.size(); i += 2) {
    if (!std::iswxdigit(hex_bytes[i]) || !std::iswxdigit(hex_bytes[i + 1])) return false;
    bytes.push_back(static_cast<BYTE>(std::wcstoul(hex_bytes.substr(i, 2).c_str(), nullptr, 16)));
  }
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const LSTATUS status = RegSetValueExW(key, name.c_str(), 0, type, bytes.data(),
                                        static_cast<DWORD>(bytes.size()));
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

}  // namespace fq::inspect
