// Resource figures of another process for the soak test: its GDI objects, its windows and its
// memory, each measured the most direct way the system (or Wine) allows.
#pragma once

#include <windows.h>

#include "json_writer.h"

namespace fq::inspect {

// {"pid", "gui_resources": {"gdi", "user"}, "gdi_objects", "windows", "memory":
// {"private_usage", "pagefile_usage", "working_set"}} (bytes; Wine gives no private usage
// and reports the process's anonymous resident memory as its pagefile usage).
// "gui_resources" is what GetGuiResources reports, null where the call is not implemented
// (Wine); "gdi_objects" counts the live, non-stock entries of the process's GDI handle table
// (read through its PEB), null where that table cannot be read; "windows" counts the windows
// the process owns (top-level, message-only and every child). False when the process
// cannot be opened.
bool WriteProcessInfo(JsonWriter& json, DWORD pid);

}  // namespace fq::inspect
