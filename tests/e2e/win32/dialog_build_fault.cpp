// fq_dialog_build_fault.exe: builds the settings dialog through the Win32 platform with its
// text boxes refused (a hook stands in for a system out of resources) and prints what the
// failure leaves: whether a dialog window is left, whether a quit waits in the queue (it would
// close the fault's box at once), and the fault's text. test_dialog.py runs it under Wine.
#include <cstdio>
#include <string>

#include "base/fault.h"
#include "settings_dialog/config_layout.h"
#include "win32_platform.h"

namespace {

LRESULT CALLBACK RefuseTextBoxes(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_CREATEWND) {
    const wchar_t* name = reinterpret_cast<CBT_CREATEWNDW*>(lparam)->lpcs->lpszClass;
    if (!IS_INTRESOURCE(name) && lstrcmpiW(name, L"EDIT") == 0) return 1;
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

struct NoPresses : fq::ConfigEvents {
  void OkClicked() override {}
  void CancelClicked() override {}
};

}  // namespace

int main() {
  SetWindowsHookExW(WH_CBT, RefuseTextBoxes, nullptr, GetCurrentThreadId());
  fq::win32::Win32Platform platform(GetModuleHandleW(nullptr), 1);
  NoPresses events;
  std::string fault = "none";
  try {
    platform.LoadConfigDialog(fq::ConfigLayout(), events);
  } catch (const fq::Fault& refused) {
    fault = refused.what();
  }
  MSG message;
  const bool quit = PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  std::printf("%d\t%d\t%s\n", FindWindowW(fq::win32::kDialogClass, nullptr) != nullptr, quit,
              fault.c_str());
  return 0;
}
