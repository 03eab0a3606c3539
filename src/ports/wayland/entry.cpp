// The program `flyingquorlin-wayland`: reads its options, then covers every output of the
// Wayland session until a key, a click or a pointer jump ends it (exit code 0). Refused options
// and a session it cannot run in exit with 2, a fault with the program's fault code.
//
// Implemented features (ports/wayland/):
//  [X] SaverWindow, OtherMonitors, Pacing and WorkSurfaces on libwayland-client with the layer
//      shell (a surface on the overlay layer of every output) or, without it, xdg-shell (a
//      window made fullscreen on every output, black, undecorated, the pointer hidden); the
//      first the saver window's, each drawn into shared-memory buffers, of which only the
//      sprites' cells are damaged. Keys, buttons and moves reach SaverEvents.
//  [X] Outputs that come and go: each shown one covered, a primary that goes replaced by the
//      next one shown.
//  [X] Dense screens: each output at its own whole-number scale, or all at --scale; the saver
//      window's k is the primary output's at start, kept for the run by whichever output is
//      the primary.
//  [X] --when-idle: a run of the saver each time the session is idle, told by
//      ext_idle_notifier_v1, org_kde_kwin_idle or GNOME's IdleMonitor on the session bus.
// Issues:
//  [ ] Cannot run without either shell: says which it misses and exits with 2. A fullscreen
//      window is no overlay: what a shell draws above every window shows above it.
//  [ ] No settings dialog, settings store, single-instance guard or password service, as the
//      hack has none.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "base/fault.h"
#include "idle_watch.h"
#include "ports/unix/run_until_dismissed.h"
#include "ports/unix/saver_options.h"
#include "wayland_platform.h"
#include "when_idle.h"

namespace fq::wayland {
namespace {

constexpr int kUsageExitCode = 2;

std::string Usage() {
  return "Usage: flyingquorlin-wayland [--speed MS] [--count N] [--scale K] [--when-idle S]\n"
         "Covers every output of a Wayland session until a key, a click or a pointer jump\n"
         "ends it.\n" +
         SaverOptionsUsage("each output's own scale",
                           "  --when-idle S   stay running, and cover the outputs each time the "
                           "session has\n                  been idle S seconds, 1 to " +
                               std::to_string(kMostIdleSeconds) + "\n");
}

// The saver's own options, for the process that --when-idle starts.
std::vector<std::string> SaverArguments(const SaverOptions& options) {
  std::vector<std::string> arguments{"--speed", std::to_string(options.settings.Speed),
                                     "--count", std::to_string(options.settings.Count)};
  if (options.scale) arguments.insert(arguments.end(), {"--scale", std::to_string(options.scale)});
  return arguments;
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
    uint32_t idle_seconds = 0;
    fq::ReadSaverOptions(arguments, options, [&](std::string_view option, const auto& value) {
      if (option != "--when-idle") return false;
      idle_seconds = ReadIdleSeconds(value());
      return true;
    });
    if (options.help) {
      std::fputs(Usage().c_str(), stdout);
      return EXIT_SUCCESS;
    }
    if (idle_seconds) return RunWhenIdle(idle_seconds, SaverArguments(options));
    Run(options);
  } catch (const fq::OptionError& refused) {
    std::fprintf(stderr, "%s: %s\n%s", kName, refused.what(), Usage().c_str());
    return kUsageExitCode;
  } catch (const MissingCompositor& missing) {
    std::fprintf(stderr, "%s: %s\n", kName, missing.what());
    return kUsageExitCode;
  } catch (const fq::Fault& fault) {
    std::fprintf(stderr, "%s: %s\n", kName, fault.what());
    return fq::kFaultExitCode;
  }
}
