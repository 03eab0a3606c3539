#include "startup/program.h"

#include <string>

#include "numbers/readings.h"
#include "numbers/rounding.h"
#include "startup/instance_guard.h"
#include "startup/mode_switch.h"

namespace fq {

Program::Program(Platform& platform) : Program(platform, platform, platform, platform, nullptr) {}

Program::Program(Platform& platform, RandomSource& random)
    : Program(platform, platform, platform, platform, &random) {}

Program::Program(Platform& platform, ScaledStage& stage)
    : Program(platform, stage, stage, stage, nullptr) {}

Program::Program(Platform& platform, SaverWindow& window, WorkSurfaces& surfaces,
                 OtherMonitors& others, RandomSource* random)
    : platform_(platform),
      window_(window),
      frmSaver_(window, platform, surfaces, platform),
      scene_(window, surfaces, others, platform, settings_, random ? *random : own_random_),
      frmConfig_(platform, platform, platform, settings_) {}

void Program::Main() {
  settings_ = LoadSettings(platform_, platform_.DecimalSeparator());
  const std::string argument_text = platform_.ArgumentText();
  const Mode mode = ModeOf(argument_text);
  if (mode == Mode::Saver) RunSaver();
  if (mode == Mode::Preview) platform_.EndProcessNow();
  if (mode == Mode::ChangePassword) {
    ChangePassword(argument_text);
    return;
  }
  frmConfig_.Show();
}

void Program::RunSaver() {
  CheckPrevInstance(platform_, frmSaver_);
  frmSaver_.Load();
  window_.SetSaverOuterSize(window_.PrimaryScreenSize());
  scene_.InitScene();
}

void Program::ChangePassword(std::string_view argument_text) {
  platform_.ChangeScreenSaverPassword(RoundToInt32(
      ReadLeadingNumber(PasswordParentText(argument_text)), "The window handle after /A"));
}

}  // namespace fq
