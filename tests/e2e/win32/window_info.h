// What the inspector reports about windows: top-level windows, the controls inside one, and
// the message boxes on screen, each written as JSON.
#pragma once

#include <windows.h>

#include <string>

#include "json_writer.h"

namespace fq::inspect {

// The window's text as its own window procedure answers WM_GETTEXT (works across processes,
// also for edit controls whose text is not the window caption).
std::wstring WindowText(HWND window);

// Every top-level window of the desktop, hidden ones included.
void WriteTopLevelWindows(JsonWriter& json);
// Every descendant of `parent`, with rectangles in the parent's client coordinates.
void WriteControls(JsonWriter& json, HWND parent);
// Every visible dialog-class (#32770) top-level window, described as a message box.
void WriteMessageBoxes(JsonWriter& json);

// The first descendant button of `parent` whose text, without its '&' markers, equals `text`
// ignoring case; nullptr when there is none.
HWND FindButton(HWND parent, const std::wstring& text);

}  // namespace fq::inspect
