#include "dialog_builder.h"

#include "platform/screen_scale.h"
#include "resources/resource_ids.h"
#include "win32_platform.h"

namespace fq::win32 {
namespace {

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kDialogExStyle = WS_EX_TOOLWINDOW;
constexpr int kFirstRoleId = 100;
constexpr int kFirstPlainId = 200;

int ControlId(const ControlDefinition& control, size_t index) {
  return control.role ? RoleId(*control.role) : kFirstPlainId + static_cast<int>(index);
}

COLORREF ColourRef(uint32_t rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// A dialog without controls of its own: the controls are created in pixels afterwards, since
// dialog units would tie the layout to the dialog font's size rather than to twips.
std::vector<WORD> EmptyDialogTemplate(const std::wstring& caption) {
  static_assert(sizeof(DLGTEMPLATE) % sizeof(WORD) == 0);
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  auto* header = reinterpret_cast<DLGTEMPLATE*>(words.data());
  header->style = kDialogStyle;
  header->dwExtendedStyle = kDialogExStyle;
  words.push_back(0);  // no menu
  for (const wchar_t* text : {kDialogClass, caption.c_str()}) {
    for (; *text; ++text) words.push_back(static_cast<WORD>(*text));
    words.push_back(0);
  }
  return words;
}

void RegisterDialogClass(HINSTANCE instance) {
  WNDCLASSEXW window_class = {};
  window_class.cbSize = sizeof(window_class);
  if (GetClassInfoExW(instance, kDialogClass, &window_class)) return;
  window_class.lpfnWndProc = DefDlgProcW;
  window_class.cbWndExtra = DLGWINDOWEXTRA;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  const auto icon = [instance](int width_metric, int height_metric) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconGroupId), IMAGE_ICON,
                                         GetSystemMetrics(width_metric),
                                         GetSystemMetrics(height_metric), LR_SHARED));
  };
  window_class.hIcon = icon(SM_CXICON, SM_CYICON);
  window_class.hIconSm = icon(SM_CXSMICON, SM_CYSMICON);
  window_class.lpszClassName = kDialogClass;
  if (!RegisterClassExW(&window_class)) {
    ThrowSystemFault("The settings dialog's window class could not be registered");
  }
}

struct ControlClass {
  const wchar_t* name;
  DWORD style;
  DWORD ex_style;
};

ControlClass ClassOf(const ControlDefinition& control) {
  const bool centred = control.align == TextAlign::Centre;
  switch (control.kind) {
    case ControlKind::PushButton:
      return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::TextBox:
      return {L"EDIT",
              static_cast<DWORD>(WS_TABSTOP | ES_AUTOHSCROLL | (centred ? ES_CENTER : ES_LEFT)),
              WS_EX_CLIENTEDGE};
    case ControlKind::Label:
      return {L"STATIC", static_cast<DWORD>(centred ? SS_CENTER : SS_LEFT), 0};
    case ControlKind::Picture:
      return {L"STATIC", SS_BITMAP, 0};
  }
  return {};
}

// Twips to pixels at the system's pixels per inch, each coordinate rounded on its own.
struct PixelScale {
  int x;
  int y;
  RECT Rect(const TwipsRect& twips) const {
    const int left = MulDiv(twips.left, x, kTwipsPerInch);
    const int top = MulDiv(twips.top, y, kTwipsPerInch);
    return {left, top, left + MulDiv(twips.width, x, kTwipsPerInch),
            top + MulDiv(twips.height, y, kTwipsPerInch)};
  }
};

PixelScale SystemScale() {
  HDC screen = GetDC(nullptr);
  const PixelScale scale{GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY)};
  ReleaseDC(nullptr, screen);
  return scale;
}

// The client area at its layout size, the whole window centred in the work area.
void PlaceDialog(HWND dialog, const DialogLayout& layout, const PixelScale& scale) {
  RECT frame = scale.Rect({0, 0, layout.client_width, layout.client_height});
  AdjustWindowRectEx(&frame, kDialogStyle, FALSE, kDialogExStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  RECT work = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  SetWindowPos(dialog, nullptr, work.left + (work.right - work.left - width) / 2,
               work.top + (work.bottom - work.top - height) / 2, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

HFONT MakeFont(const FontStyle& style, int pixels_per_inch_y, DialogLook& look) {
  GdiObject<HFONT> font(CreateFontW(-MulDiv(style.points, pixels_per_inch_y, 72), 0, 0, 0,
                                    style.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                    DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                    DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                    Widen(style.face).c_str()));
  if (!font) ThrowSystemFault("The font \"" + style.face + "\" could not be created");
  look.fonts.push_back(std::move(font));
  return look.fonts.back().get();
}

// The logo, the one picture a dialog shows, drawn for the dialog's scale so that it keeps its
// place and size in the twips layout.
HBITMAP LoadLogo(HINSTANCE instance, int scale, DialogLook& look) {
  GdiObject<HBITMAP> bitmap(LoadCompressedBitmap(instance, LogoId(scale)));
  if (!bitmap) ThrowSystemFault("The dialog's picture could not be loaded");
  look.pictures.push_back(std::move(bitmap));
  return look.pictures.back().get();
}

void CreateControls(HWND dialog, HINSTANCE instance, const DialogLayout& layout,
                    const PixelScale& scale, DialogLook& look) {
  const HFONT default_font = MakeFont(layout.default_font, scale.y, look);
  for (size_t index = 0; index < layout.controls.size(); ++index) {
    const ControlDefinition& definition = layout.controls[index];
    const ControlClass control_class = ClassOf(definition);
    const RECT rect = scale.Rect(definition.rect);
    // Created in layout order, which makes the focus order follow it.
    HWND control = CreateWindowExW(
        control_class.ex_style, control_class.name, Widen(definition.text).c_str(),
        WS_CHILD | WS_VISIBLE | control_class.style, rect.left, rect.top,
        rect.right - rect.left, rect.bottom - rect.top, dialog,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(definition, index))), instance,
        nullptr);
    if (!control) {
      ThrowSystemFault("The dialog's control " + definition.name + " could not be created");
    }
    const HFONT font = definition.font ? MakeFont(*definition.font, scale.y, look) : default_font;
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (definition.colours) {
      const COLORREF background = ColourRef(definition.colours->background);
      look.colours.push_back({control, ColourRef(definition.colours->text), background,
                              GdiObject<HBRUSH>(CreateSolidBrush(background))});
    }
    if (definition.picture != DialogPicture::None) {
      // The static control takes the bitmap's own size.
      SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP,
                   reinterpret_cast<LPARAM>(LoadLogo(instance, ScaleForDpi(scale.y), look)));
    }
  }
}

}  // namespace

const DialogLook::Colours* DialogLook::ColoursOf(HWND control) const {
  for (const Colours& entry : colours) {
    if (entry.control == control) return &entry;
  }
  return nullptr;
}

int RoleId(DialogControl role) { return kFirstRoleId + static_cast<int>(role); }

HWND BuildConfigDialog(HINSTANCE instance, const DialogLayout& layout, DLGPROC procedure,
                       DialogLook& look) {
  RegisterDialogClass(instance);
  look.background.reset(CreateSolidBrush(ColourRef(layout.background)));
  const std::vector<WORD> dialog_template = EmptyDialogTemplate(Widen(layout.caption));
  HWND dialog = CreateDialogIndirectParamW(
      instance, reinterpret_cast<const DLGTEMPLATE*>(dialog_template.data()), nullptr, procedure,
      0);
  if (!dialog) ThrowSystemFault("The settings dialog could not be created");
  try {
    const PixelScale scale = SystemScale();
    PlaceDialog(dialog, layout, scale);
    CreateControls(dialog, instance, layout, scale, look);
  } catch (...) {
    // Half built, it must not outlive the fault: the box that reports it serves the window's
    // messages after the platform and the form its procedure calls have gone.
    DestroyWindow(dialog);
    throw;
  }
  return dialog;
}

}  // namespace fq::win32
