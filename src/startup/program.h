// The program's module-level state and its start-up routine `Main`. One object holds
// everything a run keeps, so that tests can create as many runs as they like.
#pragma once

#include <cstdint>
#include <string_view>

#include "animation/random_source.h"
#include "animation/scene.h"
#include "platform/platform.h"
#include "platform/scaled_stage.h"
#include "saver_window/saver_form.h"
#include "settings_dialog/config_form.h"
#include "startup/settings.h"

namespace fq {

class Program {
 public:
  // The scene draws its random numbers from the program's own generator...
  explicit Program(Platform& platform);
  // ...or from `random`, which a test scripts.
  Program(Platform& platform, RandomSource& random);
  // The saver window, the surfaces and the other monitors as `stage` shows them on a dense
  // screen (platform/scaled_stage.h); the other roles straight from `platform`.
  Program(Platform& platform, ScaledStage& stage);

  // Reads the settings, then takes the branch of the command line's mode. Returns in
  // settings and password-change modes; ends the process in the others.
  void Main();

 private:
  [[noreturn]] void RunSaver();
  void ChangePassword(std::string_view argument_text);

  Program(Platform& platform, SaverWindow& window, WorkSurfaces& surfaces, OtherMonitors& others,
          RandomSource* random);

  Platform& platform_;
  SaverWindow& window_;
  Settings settings_;
  SaverForm frmSaver_;
  LcgRandom own_random_;
  Scene scene_;
  ConfigForm frmConfig_;
};

}  // namespace fq
