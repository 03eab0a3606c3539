// The scene set-up `InitScene` and the frame loop that follows it.
#pragma once

#include "startup/settings.h"

namespace fq {

class Platform;
class SaverForm;

class Scene {
 public:
  Scene(Platform& platform, const Settings& settings, SaverForm& frmSaver)
      : platform_(platform), settings_(settings), frmSaver_(frmSaver) {}

  [[noreturn]] void InitScene();

 private:
  Platform& platform_;
  const Settings& settings_;
  SaverForm& frmSaver_;
};

}  // namespace fq
