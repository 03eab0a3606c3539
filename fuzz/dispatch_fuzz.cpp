// The whole start-up on the fake platform with any argument text, any stored texts and any
// texts typed into the dialog: the only ways out are a fault, the end of the process or a
// normal return, and a normal return leaves the state its mode promises. OK in the dialog
// stores exactly the texts that the grammar and strtod put within their ranges, leaves the
// others' stored values alone, says each refusal once and ends the process exactly when both
// texts passed.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/fault.h"
#include "fake/fake_platform.h"
#include "number_grammar.h"
#include "startup/mode_switch.h"
#include "startup/program.h"

namespace {

// Parts separated by NUL bytes: argument text, stored Speed, stored Count, typed speed,
// typed count. A missing stored part leaves that setting absent.
std::vector<std::string> SplitParts(const uint8_t* data, size_t size) {
  std::vector<std::string> parts(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      parts.emplace_back();
    } else {
      parts.back() += static_cast<char>(data[i]);
    }
  }
  return parts;
}

bool InRange(const std::string& text, double low, double high) {
  const double value = std::strtod(text.c_str(), nullptr);
  return MatchesGrammar(text, '.') && value >= low && value <= high;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  const std::vector<std::string> parts = SplitParts(data, size);
  fq::fake::FakePlatform platform;
  platform.screen = {96, 64};
  platform.argument_text = parts[0];
  if (parts.size() > 1) platform.store["Speed"] = parts[1];
  if (parts.size() > 2) platform.store["Count"] = parts[2];
  platform.on_yield = [&platform] {
    if (platform.yields > 3) platform.EndProcessNow();
  };
  fq::Program program(platform);  // the dialog's events live in it
  try {
    program.Main();
  } catch (const fq::Fault&) {
    return 0;
  } catch (const fq::fake::ProcessEnded&) {
    return 0;
  }
  const fq::Mode mode = fq::ModeOf(parts[0]);
  if (mode == fq::Mode::ChangePassword) {
    if (platform.password_change_parents.size() != 1) std::abort();
    return 0;
  }
  if (mode != fq::Mode::Settings || !platform.dialog_loaded) std::abort();
  if (parts.size() > 3) platform.SetControlText(fq::DialogControl::SpeedBox, parts[3]);
  if (parts.size() > 4) platform.SetControlText(fq::DialogControl::CountBox, parts[4]);
  const std::string speed = platform.ControlText(fq::DialogControl::SpeedBox);
  const std::string count = platform.ControlText(fq::DialogControl::CountBox);
  auto before = platform.store;
  bool ended = false;
  try {
    platform.config_events->OkClicked();
  } catch (const fq::fake::ProcessEnded&) {
    ended = true;
  }
  const bool speed_ok = InRange(speed, 1, 100);
  const bool count_ok = InRange(count, 1, 30);
  if (platform.store["Speed"] != (speed_ok ? speed : before["Speed"])) std::abort();
  if (platform.store["Count"] != (count_ok ? count : before["Count"])) std::abort();
  if (platform.error_messages.size() != size_t{!speed_ok} + size_t{!count_ok}) std::abort();
  if (ended != (speed_ok && count_ok)) std::abort();
  return 0;
}
