// The process entry: runs `Main`, then serves window messages while a window is loaded.
// A fault anywhere below ends here in the error box and a non-zero exit code.
#include "startup/program.h"
#include "win32_platform.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  try {
    fq::win32::Win32Platform platform(instance);
    fq::Program program(platform);
    program.Main();
    MSG message;
    while (platform.AnyWindowLoaded() && GetMessageW(&message, nullptr, 0, 0) > 0) {
      if (platform.TranslateDialogMessage(message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  } catch (const std::exception& fault) {
    fq::win32::ReportFaultAndExit(fault);
  }
  return 0;
}
