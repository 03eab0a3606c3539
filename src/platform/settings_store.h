// The per-user settings store: text values addressed by application, section and key, kept
// between runs.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace fq {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // The stored text, or nothing when the application, section or key is absent (or holds
  // something that is not text).
  virtual std::optional<std::string> ReadSetting(std::string_view app, std::string_view section,
                                                 std::string_view key) = 0;
  // Creates what is missing and replaces an existing value. Throws Fault when refused.
  virtual void WriteSetting(std::string_view app, std::string_view section, std::string_view key,
                            std::string_view value) = 0;
};

}  // namespace fq
