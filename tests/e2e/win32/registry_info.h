// Registry keys under HKEY_CURRENT_USER for the inspector: their values as JSON, and exact
// writes (raw bytes of any type) that a test sets up before the program starts.
#pragma once

#include <windows.h>

#include <string>

#include "json_writer.h"

namespace fq::inspect {

// {"exists": bool, "values": [{"name", "type", "data", "hex"}]}: "data" is the text of a
// string value (up to its first terminator), the number of a DWORD or QWORD, the list of a
// multi-string, null otherwise; "hex" is always the stored bytes.
void WriteUserKey(JsonWriter& json, const std::wstring& subkey);

// Removes the key with everything below it; true also when it did not exist.
bool DeleteUserKey(const std::wstring& subkey);

// Creates the key if needed and stores `bytes` (hexadecimal pairs) as a value of `type`;
// false when the hexadecimal text or the write is refused.
bool StoreUserValue(const std::wstring& subkey, const std::wstring& name, DWORD type,
                    const std::wstring& hex_bytes);

}  // namespace fq::inspect
