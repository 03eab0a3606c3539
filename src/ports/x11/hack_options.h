// The hack's command line, read the way XScreenSaver's hacks read theirs: where to draw
// (--root, --window, --window-id, or $XSCREENSAVER_WINDOW) and the two settings, which pass
// only what the settings dialog would accept. Knows nothing of X.
#pragma once

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "startup/settings.h"

namespace fq::x11 {

// An option the hack refuses; its text says which and why.
class OptionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class Target { OwnWindow, RootWindow, GivenWindow };

struct HackOptions {
  Target target = Target::OwnWindow;
  unsigned long window_id = 0;  // for Target::GivenWindow
  Settings settings{kSpeedSetting.default_value, kCountSetting.default_value};
  int scale = 0;  // 1 to kMaxScale by hand; 0: by the stage's size (platform/screen_scale.h)
  bool help = false;
};

// `arguments` without the program's name; `xscreensaver_window` is that variable's value,
// empty when unset. A variable that is set stands for the root window, as it does for every
// hack; without --root, --window or --window-id it is also the default. Throws OptionError.
HackOptions ReadHackOptions(std::span<const std::string_view> arguments,
                            std::string_view xscreensaver_window);

std::string HackUsage();

}  // namespace fq::x11
