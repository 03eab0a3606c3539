// The whole start-up on the fake platform with any argument text, any stored texts and any
// texts typed into the dialog: the only ways out are a fault, the end of the process or a
// normal return, and a normal return leaves the state its mode promises.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fake/fake_platform.h"
#include "platform/fault.h"
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

void Run(fq::fake::FakePlatform& platform, const std::vector<std::string>& parts) {
  fq::Program program(platform);
  program.Main();
  const fq::Mode mode = fq::ModeOf(parts[0]);
  if (mode == fq::Mode::ChangePassword) {
    if (platform.password_change_parents.size() != 1) std::abort();
    return;
  }
  if (mode != fq::Mode::Settings || !platform.dialog_loaded) std::abort();
  if (parts.size() > 3) platform.SetControlText(fq::DialogControl::SpeedBox, parts[3]);
  if (parts.size() > 4) platform.SetControlText(fq::DialogControl::CountBox, parts[4]);
  platform.config_events->OkClicked();
  // Still open: something was refused and said so.
  if (platform.error_messages.empty()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> parts = SplitParts(data, size);
  fq::fake::FakePlatform platform;
  platform.screen = {96, 64};
  platform.argument_text = parts[0];
  if (parts.size() > 1) platform.store["Speed"] = parts[1];
  if (parts.size() > 2) platform.store["Count"] = parts[2];
  platform.on_yield = [&platform] {
    if (platform.yields > 3) platform.EndProcessNow();
  };
  try {
    Run(platform, parts);
  } catch (const fq::Fault&) {
  } catch (const fq::fake::ProcessEnded&) {
  }
  return 0;
}
