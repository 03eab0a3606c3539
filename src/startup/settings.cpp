#include "startup/settings.h"

#include <optional>
#include <string>

#include "platform/platform.h"
#include "startup/number_text.h"

namespace fq {
namespace {

// Keeps the error box readable when a hand-edited value is huge. The cut falls before a
// character, never inside one: half a UTF-8 sequence would show as a replacement mark.
std::string Abbreviated(const std::string& text) {
  constexpr size_t kShown = 40;
  if (text.size() <= kShown) return text;
  size_t cut = kShown;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return text.substr(0, cut) + "...";
}

int16_t LoadOne(Platform& platform, const SettingDefinition& setting) {
  const std::optional<std::string> stored =
      platform.ReadSetting(kSettingsApp, kSettingsSection, setting.key);
  const std::string text = stored ? *stored : std::to_string(setting.default_value);
  return TextToInt16(text, platform.DecimalSeparator(),
                     "The stored setting \"" + std::string(setting.key) + "\" (\"" +
                         Abbreviated(text) + "\")");
}

}  // namespace

Settings LoadSettings(Platform& platform) {
  Settings settings;
  settings.Speed = LoadOne(platform, kSpeedSetting);
  settings.Count = LoadOne(platform, kCountSetting);
  return settings;
}

}  // namespace fq
