// `InitScene`: the saver window becomes the stage, the sprites are placed, the loop starts.
#include "animation/motion.h"
#include "animation/random_source.h"
#include "animation/scene.h"
#include "animation/sheet_layout.h"
#include "numbers/rounding.h"
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
  PlaceSprites();
}

void Scene::Restage() {
  MeasureStage();
  window_.RepaintSaver();
  PlaceSprites();
}

// Sizes are pixels throughout, where a form designer would count twips: the window's outer
// size and a surface's size share the unit, so the surfaces match the window exactly.
void Scene::MeasureStage() {
  const Extent client = window_.SaverClientSize();
  ScreenH_ = RoundToInt16(client.height, "The saver window's height");
  ScreenW_ = RoundToInt16(client.width, "The saver window's width");
  const Extent outer = window_.SaverOuterSize();
  surfaces_.ResizeSurface(SurfaceId::CleanScreen, outer);
  surfaces_.ResizeSurface(SurfaceId::WorkScr, outer);
}

void Scene::PlaceSprites() {
  const int16_t in_scene = SpritesInScene(settings_.Count);
  for (int16_t i = 0; i < in_scene; ++i) PlaceSprite(Sprites_[i]);
}

// `Frame`, `Tick` and `Direction` are left as they are: zero since the start, so every
// sprite of the scene flaps in step with the others.
void Scene::PlaceSprite(Sprite& sprite) {
  sprite.X = RoundToInt16(random_.Next() * ScreenW_, "A sprite's starting x");
  sprite.Y = RoundToInt16(random_.Next() * ScreenH_, "A sprite's starting y");
  sprite.SpeedY = kSpeedY;
  sprite.SpeedX = kStartSpeedX;
  sprite.W = kSheetCell;
  sprite.H = kSheetCell;
  for (int16_t k = 0; k < kSheetFrames; ++k) {
    sprite.FrameX[k] = Wrap16(k * kSheetCell);
    sprite.FrameY[k] = 0;
    sprite.MaskX[k] = Wrap16(k * kSheetCell);
    sprite.MaskY[k] = kSheetMaskRowY;
  }
}

}  // namespace fq
