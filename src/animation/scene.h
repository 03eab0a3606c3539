// The animation half of the module state: the `Sprites` table, `ScreenW` and `ScreenH`, and
// the procedures over them: the scene set-up `InitScene`, the endless `FrameLoop` and the
// three-pass `FrameStep`. Everything a run keeps lives in the object, so tests can make many.
#pragma once

#include <cstdint>

#include "animation/sprite_table.h"
#include "platform/pacing.h"
#include "platform/saver_window.h"
#include "platform/work_surfaces.h"
#include "startup/settings.h"

namespace fq {

class RandomSource;

// frmWork's blank surfaces at their design sizes (585 by 615 and 495 by 615 twips); the scene
// set-up replaces both before anything is drawn.
inline constexpr WorkFormDesign kWorkFormDesign{{39, 41}, {33, 41}};

class Scene {
 public:
  Scene(SaverWindow& window, WorkSurfaces& surfaces, Pacing& pacing, const Settings& settings,
        RandomSource& random)
      : window_(window), surfaces_(surfaces), pacing_(pacing), settings_(settings),
        random_(random) {}

  // Sets the scene up on the loaded, hidden saver window and runs the frame loop; the
  // process ends inside it, from a dismissal handled during a yield.
  [[noreturn]] void InitScene();

  // The set-up alone (every step of `InitScene` but the last): shows, maximises and measures
  // the saver window, sizes the surfaces, makes the window topmost, hides the cursor, reseeds
  // the random numbers and places the sprites.
  void SetUpScene();

  // Forever: one frame, a yield to the message loop, a pause of `Speed` ms when above 0. When
  // the system resized the saver window during the yield, the scene starts afresh on the new
  // size before the next frame.
  [[noreturn]] void FrameLoop();

  // The set-up again on the window's new size: the surfaces are sized anew and the sprites
  // placed again, as at start-up.
  void Restage();

  // One frame: erase every sprite's old cell, update and draw every sprite, present every
  // new cell. Allocates nothing.
  void FrameStep();

  SpriteTable& Sprites() { return Sprites_; }
  const SpriteTable& Sprites() const { return Sprites_; }
  int16_t ScreenW() const { return ScreenW_; }
  int16_t ScreenH() const { return ScreenH_; }

 private:
  // ScreenW and ScreenH from the client area; WorkScr and CleanScreen sized to the window.
  void MeasureStage();
  void PlaceSprites();
  void PlaceSprite(Sprite& sprite);
  void Update(Sprite& sprite);
  void ReEnter(Sprite& sprite);

  SaverWindow& window_;
  WorkSurfaces& surfaces_;
  Pacing& pacing_;
  const Settings& settings_;
  RandomSource& random_;
  SpriteTable Sprites_{};
  int16_t ScreenW_ = 0;
  int16_t ScreenH_ = 0;
};

}  // namespace fq
