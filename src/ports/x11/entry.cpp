// The hack `flyingquorlin`: reads its options, then runs the scene on the window it was given
// or on one of its own until the daemon stops it or, in its own window, the user dismisses it.
// A refused option exits with 2, a fault with the program's fault code.
//
// Implemented features (ports/x11/):
//  [X] SaverWindow, OtherMonitors, Pacing and WorkSurfaces on Xlib and RandR, and nothing
//      else: the hack runs the scene alone. Surfaces are server pixmaps; BitBlt is XCopyArea
//      with GXcopy, GXand and GXor; the sheets are the committed BMPs, compiled in and decoded
//      once per k, one pixmap for every stage of that k.
//  [X] A stage that is either a window of its own (shown, maximised, raised, the pointer
//      hidden over it; keys, buttons, moves and the window manager's close reach SaverEvents)
//      or a window it is given (--root, --window-id, $XSCREENSAVER_WINDOW), which it only draws
//      on; of that window it hears only its destruction, as a close request. A window another
//      program made is one stage.
//  [X] Every monitor: the root window and the own window are split by the monitors RandR 1.5
//      lists: the saver window is the primary's part (RandR's primary, else the first), every
//      other monitor an OtherMonitors entry at its own k, with pixmaps of its own and its blits
//      clipped to its rectangle. RandR's events and the root's ConfigureNotify are followed in
//      the next yield.
//  [X] Dense screens: k from the stage's size, or --scale.
//  [X] The pointer's display count is the port's own. The options --speed and --count take
//      what the dialog would accept.
// Issues:
//  [ ] Draws on nothing but a 24-bit TrueColor visual (a Fault).
//  [ ] Tells monitors apart only with RandR 1.5 (one stage without it).
//  [ ] The saver window's k does not change after start.
//  [ ] No settings dialog, settings store, single-instance guard or password service:
//      XScreenSaver keeps the settings, runs one hack at a time and locks the screen itself.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/fault.h"
#include "hack_options.h"
#include "ports/unix/run_until_dismissed.h"
#include "x11_platform.h"

namespace fq::x11 {
namespace {

constexpr int kUsageExitCode = 2;

Window StageWindow(Display& display, const HackOptions& options) {
  switch (options.target) {
    case Target::RootWindow: return DefaultRootWindow(&display);
    case Target::GivenWindow: return options.window_id;
    case Target::OwnWindow: break;
  }
  return None;
}

[[noreturn]] void Run(const HackOptions& options) {
  const std::unique_ptr<Display, int (*)(Display*)> display(XOpenDisplay(nullptr), XCloseDisplay);
  if (!display) {
    throw Fault(FaultKind::PlatformFailure,
                "The display \"" + std::string(XDisplayName(nullptr)) + "\" cannot be opened.");
  }
  X11Platform platform(*display, StageWindow(*display, options), options.scale);
  RunUntilDismissed(platform, platform, platform, platform, platform.scale(), options.settings);
}

}  // namespace
}  // namespace fq::x11

int main(int argc, char** argv) {
  using namespace fq::x11;
  try {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const char* given = std::getenv("XSCREENSAVER_WINDOW");
    const HackOptions options = ReadHackOptions(arguments, given ? given : "");
    if (options.help) {
      std::fputs(HackUsage().c_str(), stdout);
      return EXIT_SUCCESS;
    }
    Run(options);
  } catch (const fq::OptionError& refused) {
    std::fprintf(stderr, "flyingquorlin: %s\n%s", refused.what(), HackUsage().c_str());
    return kUsageExitCode;
  } catch (const fq::Fault& fault) {
    std::fprintf(stderr, "flyingquorlin: %s\n", fault.what());
    return fq::kFaultExitCode;
  }
}
