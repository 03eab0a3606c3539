// Window descriptions for the inspector (see window_info.h).
#include "window_info.h"

#include <vector>

namespace fq::inspect {
namespace {

constexpr UINT kMessageTimeoutMs = 2000;

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(
      [](HWND window, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> windows;
  EnumChildWindows(
      parent,
      [](HWND window, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

std::wstring CaptionOf(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(copied));
  return text;
}

// The file name (no folder) of the program that owns the process.
std::wstring ExecutableOf(DWORD pid) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!process) return {};
  wchar_t path[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  std::wstring name;
  if (QueryFullProcessImageNameW(process, 0, path, &size)) {
    name.assign(path, size);
    const size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
  }
  CloseHandle(process);
  return name;
}

int64_t HandleNumber(HWND window) {
  return static_cast<int64_t>(reinterpret_cast<intptr_t>(window));
}

void WriteRect(JsonWriter& json, const RECT& rect) {
  json.BeginObject()
      .Key("left").Number(rect.left)
      .Key("top").Number(rect.top)
      .Key("right").Number(rect.right)
      .Key("bottom").Number(rect.bottom)
      .Key("width").Number(rect.right - rect.left)
      .Key("height").Number(rect.bottom - rect.top)
      .EndObject();
}

RECT ClientRectOnScreen(HWND window) {
  RECT rect = {};
  GetClientRect(window, &rect);
  MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

RECT RectIn(HWND window, HWND reference) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  MapWindowPoints(HWND_DESKTOP, reference, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

HWND FocusOfThreadOf(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus
                                                                            : nullptr;
}

// Font handles belong to the process that made them; where the system refuses to describe
// another process's font, only the handle is reported.
void WriteFont(JsonWriter& json, HWND window) {
  DWORD_PTR font = 0;
  if (!SendMessageTimeoutW(window, WM_GETFONT, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &font) ||
      font == 0) {
    json.Null();
    return;
  }
  json.BeginObject().Key("handle").Number(static_cast<int64_t>(font));
  LOGFONTW description = {};
  const bool readable =
      GetObjectW(reinterpret_cast<HFONT>(font), sizeof description, &description) > 0;
  json.Key("readable").Bool(readable);
  if (readable) {
    json.Key("face").Text(std::wstring_view(description.lfFaceName))
        .Key("height").Number(description.lfHeight)
        .Key("weight").Number(description.lfWeight)
        .Key("italic").Bool(description.lfItalic != 0);
  }
  json.EndObject();
}

// The standard icon a static control shows, by comparing handles with the shared system icons.
void WriteIconKind(JsonWriter& json, HWND icon_control) {
  DWORD_PTR icon = 0;
  SendMessageTimeoutW(icon_control, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &icon);
  const struct {
    LPCWSTR id;
    const char* kind;
  } kinds[] = {{IDI_HAND, "error"},
               {IDI_QUESTION, "question"},
               {IDI_EXCLAMATION, "warning"},
               {IDI_ASTERISK, "information"}};
  for (const auto& known : kinds) {
    if (icon != 0 && reinterpret_cast<HICON>(icon) == LoadIconW(nullptr, known.id)) {
      json.Text(known.kind);
      return;
    }
  }
  json.Null();
}

void WriteIdentity(JsonWriter& json, HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  json.Key("hwnd").Number(HandleNumber(window))
      .Key("class").Text(ClassOf(window))
      .Key("pid").Number(pid)
      .Key("exe").Text(ExecutableOf(pid));
}

bool IsIconStatic(HWND window) {
  return ClassOf(window) == L"Static" &&
         (GetWindowLongW(window, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

std::wstring WithoutMnemonics(const std::wstring& text) {
  std::wstring plain;
  for (const wchar_t c : text) {
    if (c != L'&') plain += c;
  }
  return plain;
}

}  // namespace

std::wstring WindowText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                           &length)) {
    return CaptionOf(window);
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, kMessageTimeoutMs, &copied);
  text.resize(copied);
  return text;
}

void WriteTopLevelWindows(JsonWriter& json) {
  json.BeginArray();
  for (HWND window : TopLevelWindows()) {
    const LONG exstyle = GetWindowLongW(window, GWL_EXSTYLE);
    RECT rect = {};
    GetWindowRect(window, &rect);
    json.BeginObject();
    WriteIdentity(json, window);
    json.Key("title").Text(CaptionOf(window))
        .Key("visible").Bool(IsWindowVisible(window))
        .Key("enabled").Bool(IsWindowEnabled(window))
        .Key("minimized").Bool(IsIconic(window))
        .Key("maximized").Bool(IsZoomed(window))
        .Key("rect");
    WriteRect(json, rect);
    json.Key("client_rect");
    WriteRect(json, ClientRectOnScreen(window));
    json.Key("style").Number(static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)))
        .Key("exstyle").Number(static_cast<DWORD>(exstyle))
        .Key("topmost").Bool(exstyle & WS_EX_TOPMOST)
        .Key("toolwindow").Bool(exstyle & WS_EX_TOOLWINDOW)
        .Key("owner").Number(HandleNumber(GetWindow(window, GW_OWNER)))
        .Key("foreground").Bool(GetForegroundWindow() == window)
        .EndObject();
  }
  json.EndArray();
}

void WriteControls(JsonWriter& json, HWND parent) {
  const HWND focus = FocusOfThreadOf(parent);
  json.BeginArray();
  for (HWND control : Descendants(parent)) {
    json.BeginObject();
    WriteIdentity(json, control);
    json.Key("id").Number(GetDlgCtrlID(control))
        .Key("parent").Number(HandleNumber(GetParent(control)))
        .Key("text").Text(WindowText(control))
        .Key("visible").Bool(IsWindowVisible(control))
        .Key("enabled").Bool(IsWindowEnabled(control))
        .Key("focused").Bool(control == focus)
        .Key("rect");
    WriteRect(json, RectIn(control, parent));
    json.Key("screen_rect");
    RECT screen = {};
    GetWindowRect(control, &screen);
    WriteRect(json, screen);
    json.Key("style").Number(static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE)))
        .Key("exstyle").Number(static_cast<DWORD>(GetWindowLongW(control, GWL_EXSTYLE)))
        .Key("font");
    WriteFont(json, control);
    json.EndObject();
  }
  json.EndArray();
}

void WriteMessageBoxes(JsonWriter& json) {
  json.BeginArray();
  for (HWND box : TopLevelWindows()) {
    if (!IsWindowVisible(box) || ClassOf(box) != L"#32770") continue;
    json.BeginObject();
    WriteIdentity(json, box);
    json.Key("title").Text(CaptionOf(box)).Key("rect");
    RECT rect = {};
    GetWindowRect(box, &rect);
    WriteRect(json, rect);
    json.Key("icon");
    HWND icon = nullptr;
    for (HWND control : Descendants(box)) {
      if (IsIconStatic(control)) icon = control;
    }
    if (icon) {
      WriteIconKind(json, icon);
    } else {
      json.Null();
    }
    json.Key("texts").BeginArray();
    for (HWND control : Descendants(box)) {
      if (ClassOf(control) == L"Static" && !IsIconStatic(control)) json.Text(WindowText(control));
    }
    json.EndArray().Key("buttons").BeginArray();
    for (HWND control : Descendants(box)) {
      if (ClassOf(control) != L"Button" || !IsWindowVisible(control)) continue;
      RECT screen = {};
      GetWindowRect(control, &screen);
      json.BeginObject()
          .Key("hwnd").Number(HandleNumber(control))
          .Key("id").Number(GetDlgCtrlID(control))
          .Key("text").Text(WindowText(control))
          .Key("screen_rect");
      WriteRect(json, screen);
      json.EndObject();
    }
    json.EndArray().EndObject();
  }
  json.EndArray();
}

HWND FindButton(HWND parent, const std::wstring& text) {
  const std::wstring wanted = WithoutMnemonics(text);
  for (HWND control : Descendants(parent)) {
    if (ClassOf(control) == L"Button" &&
        CompareStringOrdinal(WithoutMnemonics(WindowText(control)).c_str(), -1, wanted.c_str(), -1,
                             TRUE) == CSTR_EQUAL) {
      return control;
    }
  }
  return nullptr;
}

}  // namespace fq::inspect
