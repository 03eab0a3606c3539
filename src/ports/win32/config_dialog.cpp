// The settings dialog running on Win32: its window procedure, which colours the controls and
// routes the two buttons to the core, and the dialog's services to the core. Keyboard
// navigation comes from IsDialogMessage in the message loops (TranslateDialogMessage).
#include <memory>

#include "dialog_builder.h"
#include "win32_platform.h"
#include "window_creation.h"

namespace fq::win32 {
namespace {

// What the window procedure needs. The window owns it from the WM_INITDIALOG of its creation
// on, the moment it exists, and frees it when it is destroyed.
struct RunningDialog {
  Win32Platform* platform;
  DialogLook look;
};

using DialogCreation = WindowCreation<std::unique_ptr<RunningDialog>>;

}  // namespace

INT_PTR CALLBACK Win32Platform::ConfigDialogProc(HWND dialog, UINT message, WPARAM wparam,
                                                 LPARAM lparam) {
  auto* running = reinterpret_cast<RunningDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      // Another program can post or send one at any time: only the creation's brings state.
      if (std::unique_ptr<RunningDialog>* offered = running ? nullptr : DialogCreation::Take()) {
        SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(offered->release()));
      }
      return FALSE;  // the focus is set when the dialog shows
    case WM_CTLCOLORDLG:
      return running ? reinterpret_cast<INT_PTR>(running->look.background.get()) : FALSE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT: {
      if (!running) return FALSE;
      const DialogLook::Colours* colours =
          running->look.ColoursOf(reinterpret_cast<HWND>(lparam));
      // The picture has no colours of its own: it stands on the dialog's background.
      if (!colours) return reinterpret_cast<INT_PTR>(running->look.background.get());
      HDC context = reinterpret_cast<HDC>(wparam);
      SetTextColor(context, colours->text);
      SetBkColor(context, colours->background);
      return reinterpret_cast<INT_PTR>(colours->brush.get());
    }
    case WM_COMMAND: {
      if (!running || HIWORD(wparam) != BN_CLICKED) return FALSE;
      ConfigEvents* events = running->platform->config_events_;
      const int id = LOWORD(wparam);
      if (id == RoleId(DialogControl::Ok)) {
        RunHandler([&] { events->OkClicked(); });
      } else if (id == RoleId(DialogControl::Cancel)) {
        RunHandler([&] { events->CancelClicked(); });
      }
      // IDOK and IDCANCEL, which Enter in a text box and Escape send, press nothing. Enter on
      // a focused button arrives with that button's id: the dialog manager marks it default.
      return TRUE;
    }
    case WM_CLOSE:
      DestroyWindow(dialog);
      return TRUE;
    case WM_NCDESTROY: {
      if (!running) return FALSE;
      Win32Platform& platform = *running->platform;
      const bool loaded = platform.dialog_ == dialog;
      SetWindowLongPtrW(dialog, DWLP_USER, 0);
      delete running;
      platform.dialog_ = nullptr;
      platform.config_events_ = nullptr;
      // Closed from its frame, the dialog was the last window: the message loop ends. One
      // destroyed because it failed to build leaves no quit behind, which would close the
      // fault's box at once.
      if (loaded && !platform.AnyWindowLoaded()) PostQuitMessage(0);
      return FALSE;
    }
  }
  return FALSE;
}

void Win32Platform::LoadConfigDialog(const DialogLayout& layout, ConfigEvents& events) {
  config_events_ = &events;
  if (dialog_) return;
  auto running = std::make_unique<RunningDialog>();
  running->platform = this;
  DialogLook& look = running->look;
  dialog_ = DialogCreation::Offer(&running, [&] {
    return BuildConfigDialog(instance_, layout, ConfigDialogProc, look);
  });
}

void Win32Platform::ShowConfigDialog() {
  ShowWindow(dialog_, SW_SHOWNORMAL);
  SetForegroundWindow(dialog_);
  // Through the dialog manager, so that a focused button is marked as the one Enter presses.
  SendMessageW(dialog_, WM_NEXTDLGCTL,
               reinterpret_cast<WPARAM>(GetNextDlgTabItem(dialog_, nullptr, FALSE)), TRUE);
}

bool Win32Platform::ConfigDialogLoaded() { return dialog_ != nullptr; }

std::string Win32Platform::ControlText(DialogControl control) {
  HWND window = GetDlgItem(dialog_, RoleId(control));
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  const int length = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(length));
  return Narrow(text);
}

void Win32Platform::SetControlText(DialogControl control, std::string_view text) {
  SetDlgItemTextW(dialog_, RoleId(control), Widen(text).c_str());
}

void Win32Platform::DestroyConfigDialog() {
  if (dialog_) DestroyWindow(dialog_);
}

void Win32Platform::ShowErrorMessage(std::string_view text) {
  MessageBoxW(dialog_, Widen(text).c_str(), kApplicationTitle, MB_OK | MB_ICONERROR);
}

bool Win32Platform::TranslateDialogMessage(MSG& message) {
  return dialog_ && IsDialogMessageW(dialog_, &message);
}

}  // namespace fq::win32
