#include "ports/unix/saver_options.h"

#include <sstream>

#include "numbers/readings.h"
#include "platform/screen_scale.h"

namespace fq {
namespace {

int16_t ReadSetting(const SettingDefinition& setting, std::string_view option,
                    std::string_view text) {
  // The programs run in the "C" locale, as XScreenSaver passes its numbers.
  constexpr char kSeparator = '.';
  if (!AcceptedByDialog(setting, text, kSeparator)) {
    std::ostringstream refusal;
    refusal << option << " takes a number from " << setting.dialog_min << " to "
            << setting.dialog_max << ", not \"" << text << "\".";
    throw OptionError(refusal.str());
  }
  return TextToInt16(text, kSeparator, option);
}

int ReadScale(std::string_view text) {
  if (text.size() != 1 || text[0] < '1' || text[0] > '0' + kMaxScale) {
    throw OptionError("--scale takes 1, 2 or 3, not \"" + std::string(text) + "\".");
  }
  return text[0] - '0';
}

// Takes `option` when it is --speed, --count, --scale or --help; false for any other option.
bool ReadSharedOption(std::string_view option, const OptionValue& value, SaverOptions& options) {
  if (option == "--speed") {
    options.settings.Speed = ReadSetting(kSpeedSetting, "--speed", value());
  } else if (option == "--count") {
    options.settings.Count = ReadSetting(kCountSetting, "--count", value());
  } else if (option == "--scale") {
    options.scale = ReadScale(value());
  } else if (option == "--help") {
    options.help = true;
  } else {
    return false;
  }
  return true;
}

}  // namespace

void ReadSaverOptions(std::span<const std::string_view> arguments, SaverOptions& options,
                      const OwnOptions& own) {
  for (size_t i = 0; i < arguments.size(); ++i) {
    std::string option(arguments[i]);
    if (option.size() > 1 && option[0] == '-' && option[1] != '-') option.insert(0, "-");
    const OptionValue value = [&]() -> std::string_view {
      if (i + 1 == arguments.size()) throw OptionError(option + " needs a value.");
      return arguments[++i];
    };
    if (ReadSharedOption(option, value, options) || (own && own(option, value))) continue;
    throw OptionError("unknown option \"" + std::string(arguments[i]) + "\".");
  }
}

std::string SaverOptionsUsage(std::string_view scale_default, std::string_view own_lines) {
  std::ostringstream usage;
  usage << "  --speed MS      the pause after each frame, " << kSpeedSetting.dialog_min << " to "
        << kSpeedSetting.dialog_max << " ms (default " << kSpeedSetting.default_value << ")\n"
        << "  --count N       the number of sprites, " << kCountSetting.dialog_min << " to "
        << kCountSetting.dialog_max << " (default " << kCountSetting.default_value << ")\n"
        << "  --scale K       show every pixel as K by K, 1 to " << kMaxScale << " (default "
        << scale_default << ")\n"
        << own_lines << "  --help          this text\n";
  return usage.str();
}

}  // namespace fq
