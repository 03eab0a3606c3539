// One flock: the `Sprites` table over a stage of `ScreenW` by `ScreenH` pixels, drawn on the
// stage's own surfaces with random numbers of its own. It places the sprites and runs the
// three-pass `FrameStep`. The saver window's scene has one; so has every other monitor.
#pragma once

#include <cstdint>

#include "animation/sprite_table.h"
#include "platform/saver_window.h"
#include "platform/work_surfaces.h"
#include "startup/settings.h"

namespace fq {

class RandomSource;

class Flock {
 public:
  Flock(WorkSurfaces& surfaces, const Settings& settings, RandomSource& random)
      : surfaces_(&surfaces), settings_(settings), random_(random) {}

  // ScreenW and ScreenH from the stage's size; WorkScr and CleanScreen sized to `surfaces`.
  void Measure(Extent stage, Extent surfaces);
  void PlaceSprites();
  // One frame: erase every sprite's old cell, update and draw every sprite, present every
  // new cell. Allocates nothing.
  void FrameStep();
  // The same surfaces, as the platform hands them out again (platform/other_monitors.h).
  void DrawOn(WorkSurfaces& surfaces) { surfaces_ = &surfaces; }

  SpriteTable& Sprites() { return Sprites_; }
  const SpriteTable& Sprites() const { return Sprites_; }
  int16_t ScreenW() const { return ScreenW_; }
  int16_t ScreenH() const { return ScreenH_; }

 private:
  void PlaceSprite(Sprite& sprite);
  void Update(Sprite& sprite);
  void ReEnter(Sprite& sprite);

  WorkSurfaces* surfaces_;
  const Settings& settings_;
  RandomSource& random_;
  SpriteTable Sprites_{};
  int16_t ScreenW_ = 0;
  int16_t ScreenH_ = 0;
};

}  // namespace fq
