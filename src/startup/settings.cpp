#include "startup/settings.h"

#include <optional>
#include <string>

#include "numbers/readings.h"
#include "platform/settings_store.h"

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

int16_t LoadOne(SettingsStore& store, char decimal_separator, const SettingDefinition& setting) {
  const std::optional<std::string> stored =
      store.ReadSetting(kSettingsApp, kSettingsSection, setting.key);
  const std::string text = stored ? *stored : std::to_string(setting.default_value);
  return TextToInt16(text, decimal_separator,
                     "The stored setting \"" + std::string(setting.key) + "\" (\"" +
                         Abbreviated(text) + "\")");
}

}  // namespace

bool AcceptedByDialog(const SettingDefinition& setting, std::string_view text,
                      char decimal_separator) {
  const std::optional<double> number = ParseStrictNumber(text, decimal_separator);
  // A huge exponent reads as an infinity, which lies outside the range like any number would.
  return number && *number >= setting.dialog_min && *number <= setting.dialog_max;
}

Settings LoadSettings(SettingsStore& store, char decimal_separator) {
  Settings settings;
  settings.Speed = LoadOne(store, decimal_separator, kSpeedSetting);
  settings.Count = LoadOne(store, decimal_separator, kCountSetting);
  return settings;
}

}  // namespace fq
