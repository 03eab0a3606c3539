// The command line the Unix programs share, read by the settings dialog's rules: --speed and
// --count pass only what the dialog would accept, --scale takes a whole-number scale the art is
// drawn for, --help asks for the usage; a program reads its own options beside them. Knows
// nothing of any display system.
#pragma once

#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "startup/settings.h"

namespace fq {

// An option a program refuses; its text says which and why.
class OptionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct SaverOptions {
  Settings settings{kSpeedSetting.default_value, kCountSetting.default_value};
  int scale = 0;  // 1 to kMaxScale by hand; 0: the port's own choice (platform/screen_scale.h)
  bool help = false;
};

// The text of an option's value: the argument after it. Throws OptionError where none follows.
using OptionValue = std::function<std::string_view()>;
// A program's own options: takes `option` (spelt with two dashes) and answers true, or answers
// false when it is none of them.
using OwnOptions = std::function<bool(std::string_view option, const OptionValue& value)>;

// Reads `arguments`, without the program's name: the shared options into `options`, any other
// through `own`. An option may start with one dash, as the hacks' options may. Throws
// OptionError for an unknown option, a missing value or a refused one.
void ReadSaverOptions(std::span<const std::string_view> arguments, SaverOptions& options,
                      const OwnOptions& own = {});

// The usage lines of the shared options, a program's own `own_lines` before --help;
// `scale_default` says what the port does without --scale.
std::string SaverOptionsUsage(std::string_view scale_default, std::string_view own_lines = {});

}  // namespace fq
