#include "startup/settings.h"

#include <optional>
#include <string>

#include "platform/platform.h"
#include "startup/number_text.h"

namespace fq {
namespace {

// Keeps the error box readable when a hand-edited value is huge.
std::string Abbreviated(const std::string& text) {
  constexpr size_t kShown = 40;
  return text.size() <= kShown ? text : text.substr(0, kShown) + "...";
}

int16_t LoadOne(Platform& platform, const SettingSpec& spec) {
  const std::optional<std::string> stored =
      platform.ReadSetting(kSettingsApp, kSettingsSection, spec.key);
  const std::string text = stored ? *stored : std::to_string(spec.default_value);
  return TextToInt16(text, platform.DecimalSeparator(),
                     "The stored setting \"" + std::string(spec.key) + "\" (\"" + Abbreviated(text) + "\")");
}

}  // namespace

Settings LoadSettings(Platform& platform) {
  Settings settings;
  settings.Speed = LoadOne(platform, kSpeedSetting);
  settings.Count = LoadOne(platform, kCountSetting);
  return settings;
}

}  // namespace fq
