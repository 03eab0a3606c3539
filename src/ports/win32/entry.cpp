// The Win32 port's process entry: runs `Main`, then serves window messages while a window is
// loaded. A fault anywhere below ends here in the error box and a non-zero exit code.
//
// Implemented features (ports/win32/):
//  [X] Every role of the seam (platform/platform.h), with the process entry and its message
//      loop; the fault box titled "FlyingQuorlin" and exit code 3.
//  [X] The previous-instance mark (a named mutex); the settings under HKCU in the key earlier
//      builds used; the dialog's keyboard handling.
//  [X] A session's end as a close request; Alt and F10 kept from opening the saver window's
//      system menu. The pointer's display count is the system's own.
//  [X] A cover over each other monitor, the window its flock is drawn on, following the
//      monitors as they come, go and change (WM_DISPLAYCHANGE, and a check a few times a
//      second, since Wine announces no change made outside it), with the saver window on the
//      primary's place and all of them kept shown and on top.
//  [X] Dense screens: the saver window's k from the primary monitor's DPI at start, each other
//      monitor's from its own (per-monitor awareness).
// Issues:
//  [ ] No screen-saver password is verified where password.cpl is absent (every NT-family
//      system): the service answers nothing.
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
