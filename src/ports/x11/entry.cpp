// The hack `flyingquorlin`: reads its options, then runs the scene on the window it was given
// or on one of its own until the daemon stops it or, in its own window, the user dismisses it.
// A refused option exits with 2, a fault with the program's fault code.
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
