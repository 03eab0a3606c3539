// The two stored settings: where they live, their defaults and the range the dialog accepts.
// One table, read by the loader, the dialog and the tests alike.
#pragma once

#include <cstdint>
#include <string_view>

namespace fq {

class SettingsStore;

// The same text is the marker title by which the single-instance guard finds a saver.
inline constexpr std::string_view kSettingsApp = "FlyingQuorlinSaver";
inline constexpr std::string_view kSettingsSection = "Settings";

struct SettingDefinition {
  std::string_view key;
  int16_t default_value;
  // Whole numbers, both ends included; a typed number is compared with them as it reads,
  // fraction and all.
  int16_t dialog_min;
  int16_t dialog_max;
};

inline constexpr SettingDefinition kSpeedSetting{"Speed", 25, 1, 100};
inline constexpr SettingDefinition kCountSetting{"Count", 8, 1, 30};

// The settings dialog's rule for a typed value, which the X11 hack's options follow too: the
// whole text is one number (read strictly with `decimal_separator`) within the setting's range.
bool AcceptedByDialog(const SettingDefinition& setting, std::string_view text,
                      char decimal_separator);

// In memory: the converted whole numbers, read once at start-up and never changed.
struct Settings {
  int16_t Speed = 0;  // pause after each frame, milliseconds
  int16_t Count = 0;  // number of sprites
};

// Reads "Speed", then "Count", each with its default when absent, converted strictly to
// 16 bits with the user's `decimal_separator`. Throws a type-mismatch or overflow Fault for a
// stored text that does not convert.
Settings LoadSettings(SettingsStore& store, char decimal_separator);

}  // namespace fq
