// The hack's command line, read the way XScreenSaver's hacks read theirs: where to draw
// (--root, --window, --window-id, or $XSCREENSAVER_WINDOW) and the two settings, which pass
// only what the settings dialog would accept. Knows nothing of X.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "ports/unix/saver_options.h"

namespace fq::x11 {

enum class Target { OwnWindow, RootWindow, GivenWindow };

// The scale by hand, or 0: by the stage's size.
struct HackOptions : SaverOptions {
  Target target = Target::OwnWindow;
  unsigned long window_id = 0;  // for Target::GivenWindow
};

// `arguments` without the program's name; `xscreensaver_window` is that variable's value,
// empty when unset. A variable that is set stands for the root window, as it does for every
// hack; without --root, --window or --window-id it is also the default. Throws OptionError.
HackOptions ReadHackOptions(std::span<const std::string_view> arguments,
                            std::string_view xscreensaver_window);

std::string HackUsage();

}  // namespace fq::x11
