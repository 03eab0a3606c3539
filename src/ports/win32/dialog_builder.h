// Building the settings dialog's window from the core's layout: a modeless dialog of a private
// window class, its controls placed in pixels from twips, and the colours, fonts and picture it
// draws with. Running the dialog is config_dialog.cpp's.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>
#include <vector>

#include "platform/dialog_layout.h"

namespace fq::win32 {

struct GdiDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
// A font, brush or bitmap freed when its owner goes.
template <typename Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiDeleter>;

// Everything the dialog draws with; it lives as long as the window.
struct DialogLook {
  struct Colours {
    HWND control;
    COLORREF text;
    COLORREF background;
    GdiObject<HBRUSH> brush;
  };

  GdiObject<HBRUSH> background;
  std::vector<GdiObject<HFONT>> fonts;
  std::vector<Colours> colours;
  std::vector<GdiObject<HBITMAP>> pictures;

  // The colours of a control that has its own, or nothing.
  const Colours* ColoursOf(HWND control) const;
};

// Push buttons report with these ids, away from IDOK and IDCANCEL, which IsDialogMessage sends
// for Enter in a text box and for Escape.
int RoleId(DialogControl role);

// Creates the dialog hidden, centred in the work area, with every control of `layout`, and
// fills `look`; `procedure` receives WM_INITDIALOG with no parameter (window_creation.h).
// Throws Fault when the system refuses, after destroying the window if it was created.
HWND BuildConfigDialog(HINSTANCE instance, const DialogLayout& layout, DLGPROC procedure,
                       DialogLook& look);

}  // namespace fq::win32
