// `InitScene`: the saver window becomes the stage, the sprites are placed, the loop starts.
// `FrameLoop` then steps the flock on it and those on the other monitors.
#include "animation/scene.h"

#include "animation/random_source.h"
#include "animation/work_form_design.h"
#include "saver_window/cursor_display.h"

namespace fq {

void Scene::InitScene() {
  SetUpScene();
  FrameLoop();
}

void Scene::SetUpScene() {
  window_.ShowSaver();
  window_.MaximiseSaver();
  surfaces_.LoadWorkSurfaces(kWorkFormDesign);
  MeasureStage();
  window_.RepaintSaver();
  pacing_.YieldToMessageLoop();
  window_.MakeSaverTopmost();
  HideMouseCursor(window_);
  random_.Reseed(pacing_.SecondsSinceMidnight());
  flock_.PlaceSprites();
  others_.Follow();
}

void Scene::Restage() {
  MeasureStage();
  window_.RepaintSaver();
  flock_.PlaceSprites();
}

void Scene::MeasureStage() {
  flock_.Measure(window_.SaverClientSize(), window_.SaverOuterSize());
}

void Scene::FrameLoop() {
  for (;;) {
    FrameStep();
    pacing_.YieldToMessageLoop();
    // Read in every pass; 0 or below means no pause at all.
    if (settings_.Speed > 0) pacing_.Pause(settings_.Speed);
    // After the pause, which may handle events too: what either saw is followed before the
    // next frame.
    if (window_.SaverResized()) Restage();
    others_.Follow();
  }
}

void Scene::FrameStep() {
  flock_.FrameStep();
  others_.FrameStep();
}

}  // namespace fq
