#include "animation/scene.h"

#include "platform/platform.h"

namespace fq {

// Placeholder until the animation lands: a black full-screen window.
void Scene::InitScene() {
  platform_.ShowSaver();
  platform_.MaximiseSaver();
  for (;;) {
    platform_.YieldToMessageLoop();
    platform_.Pause(settings_.Speed > 0 ? settings_.Speed : 0);
  }
}

}  // namespace fq
