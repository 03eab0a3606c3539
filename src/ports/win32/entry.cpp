// The process entry: runs `Main`, then serves window messages while a window is loaded.
// A fault anywhere below ends here in the error box and a non-zero exit code.
#include "platform/screen_scale.h"
#include "startup/program.h"
#include "win32_platform.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // The saver window's scale is the primary monitor's at start; each other monitor has its own.
  const int scale = fq::win32::MonitorScale(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY));
  // Outside the handler: a fault takes its windows down before the box shows.
  fq::win32::Win32Platform platform(instance, scale);
  try {
    fq::ScaledStage stage(platform, platform, platform, scale);
    fq::Program program(platform, stage);
    program.Main();
    MSG message;
    while (platform.AnyWindowLoaded() && GetMessageW(&message, nullptr, 0, 0) > 0) {
      if (platform.TranslateDialogMessage(message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  } catch (const std::exception&) {
    fq::win32::ReportFaultAndExit();
  }
  return 0;
}
