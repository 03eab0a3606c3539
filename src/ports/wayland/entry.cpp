// The program `flyingquorlin-wayland`: reads its options, then covers every output of the
// Wayland session until a key, a click or a pointer jump ends it (exit code 0). Refused options
// and a session it cannot run in exit with 2, a fault with the program's fault code.
//
// Implemented features (ports/wayland/):
//  [X] SaverWindow, OtherMonitors, Pacing and WorkSurfaces on libwayland-client with the layer
//      shell: a surface on the overlay layer of every output, the first the saver window's,
//      each drawn into shared-memory buffers, of which only the sprites' cells are damaged.
//      Keys, buttons and moves reach SaverEvents.
//  [X] Outputs that come and go: each shown one covered, a primary that goes replaced by the
//      next one shown.
//  [X] Dense screens: each output at its own whole-number scale, or all at --scale; the saver
//      window's k is the primary output's at start, kept for the run by whichever output is
//      the primary.
// Issues:
//  [ ] Cannot run without the layer shell (GNOME's compositor has none): says so and exits
//      with 2.
//  [ ] No settings dialog, settings store, single-instance guard or password service, as the
//      hack has none.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "base/fault.h"
#include "ports/unix/run_until_dismissed.h"
#include "ports/unix/saver_options.h"
#include "wayland_platform.h"

namespace fq::wayland {
namespace {

constexpr int kUsageExitCode = 2;

std::string Usage() {
  return "Usage: flyingquorlin-wayland [--speed MS] [--count N] [--scale K]\n"
         "Covers every output of a Wayland session with the layer shell until a key, a click\n"
         "or a pointer jump ends it.\n" +
         SaverOptionsUsage("each output's own scale");
}

[[noreturn]] void Run(const SaverOptions& options) {
  WaylandPlatform platform(options.scale);
  RunUntilDismissed(platform, platform, platform, platform, platform.scale(), options.settings);
}

}  // namespace
}  // namespace fq::wayland

int main(int argc, char** argv) {
  using namespace fq::wayland;
  constexpr const char* kName = "flyingquorlin-wayland";
  try {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    fq::SaverOptions options;
    fq::ReadSaverOptions(arguments, options);
    if (options.help) {
      std::fputs(Usage().c_str(), stdout);
      return EXIT_SUCCESS;
    }
    Run(options);
  } catch (const fq::OptionError& refused) {
    std::fprintf(stderr, "%s: %s\n%s", kName, refused.what(), Usage().c_str());
    return kUsageExitCode;
  } catch (const MissingCompositor& missing) {
    std::fprintf(stderr,
                 "%s: %s\nIt runs in Wayland sessions whose compositor has the layer shell "
                 "(sway, Hyprland, KDE Plasma...).\nIn an X11 session, use the XScreenSaver "
                 "hack flyingquorlin instead.\n",
                 kName, missing.what());
    return kUsageExitCode;
  } catch (const fq::Fault& fault) {
    std::fprintf(stderr, "%s: %s\n", kName, fault.what());
    return fq::kFaultExitCode;
  }
}
