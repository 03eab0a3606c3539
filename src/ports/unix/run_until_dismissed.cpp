#include "ports/unix/run_until_dismissed.h"

#include "animation/random_source.h"
#include "animation/scene.h"
#include "platform/scaled_stage.h"
#include "saver_window/dismissal.h"

namespace fq {

void RunUntilDismissed(SaverWindow& window, WorkSurfaces& surfaces, OtherMonitors& others,
                       Pacing& pacing, int scale, const Settings& settings) {
  ScaledStage stage(window, surfaces, others, scale);
  Dismissal dismissal;
  LcgRandom random;
  Scene scene(stage, stage, stage, pacing, settings, random);
  stage.LoadSaverWindow(kSaverDesign, dismissal);
  scene.InitScene();
}

}  // namespace fq
