// A scene on the fake platform, set up the way saver mode sets it up: the saver window
// loaded and sized to the screen through the scaling adapter (k = 1 passes every call through
// unchanged), then `SetUpScene`.
#pragma once

#include "animation/scene.h"
#include "fake/fake_platform.h"
#include "fake/scripted_random.h"
#include "platform/scaled_stage.h"
#include "saver_window/saver_form.h"

namespace fq {

// `Random` is the scripted source by default; the program's own generator where placement
// must come out as the program would make it.
template <typename Random = ScriptedRandom>
struct SceneOnFake {
  explicit SceneOnFake(int16_t count, Extent screen = {1920, 1080}, int16_t speed = 25,
                       int scale = 1)
      : stage(platform, platform, platform, scale),
        frmSaver(stage, platform, stage, platform),
        scene(stage, stage, stage, platform, settings, random) {
    settings.Count = count;
    settings.Speed = speed;
    platform.screen = screen;
  }

  // Loads and sizes the window as `Main` does, then sets the scene up.
  void SetUp() {
    frmSaver.Load();
    stage.SetSaverOuterSize(stage.PrimaryScreenSize());
    scene.SetUpScene();
  }

  Sprite& sprite(int i) { return scene.Sprites()[i]; }

  fake::FakePlatform platform;
  ScaledStage stage;
  Settings settings;
  Random random;
  SaverForm frmSaver;
  Scene scene;
};

}  // namespace fq
