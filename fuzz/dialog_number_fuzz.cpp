// The dialog's OK button with any two typed texts: each text is stored exactly as typed when
// it is a number within its range (judged here by an independent grammar and strtod), its
// stored value is left alone otherwise, every refusal is said once, and the process ends
// exactly when both texts passed.
#include <cstdint>
#include <cstdlib>
#include <regex>
#include <string>

#include "fake/fake_platform.h"
#include "settings_dialog/config_form.h"
#include "startup/settings.h"

namespace {

bool InRange(const std::string& text, double low, double high) {
  static const std::regex number(R"([ \t]*[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?[ \t]*)");
  if (!std::regex_match(text, number)) return false;
  const double value = std::strtod(text.c_str(), nullptr);
  return value >= low && value <= high;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  if (input.size() > 4096) return 0;  // keeps the regex's backtracking cheap
  const size_t split = input.find('\0');
  const std::string speed = input.substr(0, split);
  const std::string count = split == std::string::npos ? "" : input.substr(split + 1);

  fq::fake::FakePlatform platform;
  platform.store = {{"Speed", "old speed"}, {"Count", "old count"}};
  fq::Settings settings;
  fq::ConfigForm form(platform, platform, platform, settings);
  form.Show();
  platform.SetControlText(fq::DialogControl::SpeedBox, speed);
  platform.SetControlText(fq::DialogControl::CountBox, count);

  bool ended = false;
  try {
    form.OkClicked();
  } catch (const fq::fake::ProcessEnded&) {
    ended = true;
  }
  const bool speed_ok = InRange(speed, 1, 100);
  const bool count_ok = InRange(count, 1, 30);
  if (platform.store["Speed"] != (speed_ok ? speed : "old speed")) std::abort();
  if (platform.store["Count"] != (count_ok ? count : "old count")) std::abort();
  if (platform.error_messages.size() != size_t{!speed_ok} + size_t{!count_ok}) std::abort();
  if (ended != (speed_ok && count_ok)) std::abort();
  return 0;
}
