// The options the Unix ports share, read by the settings dialog's rules: --speed and --count
// pass only what the dialog would accept, --scale takes a whole-number scale the art is drawn
// for. Knows nothing of any display system.
#pragma once

#include <functional>
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
};

// Takes `option` when it is --speed, --count or --scale, reading its text from `value`; false
// for any other option. Throws OptionError for a refused value.
bool ReadSaverOption(std::string_view option, const std::function<std::string_view()>& value,
                     SaverOptions& options);

// The usage lines of the three options; `scale_default` says what the port does without --scale.
std::string SaverOptionsUsage(std::string_view scale_default);

}  // namespace fq
