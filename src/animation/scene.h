// The animation half of the module state and its procedures: the scene set-up `InitScene`, the
// endless `FrameLoop`, and the flocks it steps: the saver window's (its `Sprites` table,
// `ScreenW` and `ScreenH`) and one on every other monitor. Everything a run keeps lives in the
// object, so tests can make many.
#pragma once

#include <cstdint>

#include "animation/flock.h"
#include "animation/monitor_flocks.h"
#include "platform/other_monitors.h"
#include "platform/pacing.h"
#include "platform/saver_window.h"
#include "platform/work_surfaces.h"
#include "startup/settings.h"

namespace fq {

class RandomSource;

class Scene {
 public:
  Scene(SaverWindow& window, WorkSurfaces& surfaces, OtherMonitors& others, Pacing& pacing,
        const Settings& settings, RandomSource& random)
      : window_(window), surfaces_(surfaces), pacing_(pacing), settings_(settings),
        random_(random), flock_(surfaces, settings, random), others_(others, pacing, settings) {}

  // Sets the scene up on the loaded, hidden saver window and runs the frame loop; the
  // process ends inside it, from a dismissal handled during a yield.
  [[noreturn]] void InitScene();

  // The set-up alone (every step of `InitScene` but the last): shows, maximises and measures
  // the saver window, sizes the surfaces, makes the window topmost, hides the cursor, reseeds
  // the random numbers and places the sprites; then a flock on every other monitor.
  void SetUpScene();

  // Forever: one frame, a yield to the message loop, a pause of `Speed` ms when above 0. When
  // the system resized the saver window during the yield or the pause, the scene starts afresh
  // on the new size before the next frame; so do the other monitors' flocks follow theirs.
  [[noreturn]] void FrameLoop();

  // The set-up again on the window's new size: the surfaces are sized anew and the sprites
  // placed again, as at start-up.
  void Restage();

  // One frame of every flock, the saver window's first.
  void FrameStep();

  SpriteTable& Sprites() { return flock_.Sprites(); }
  const SpriteTable& Sprites() const { return flock_.Sprites(); }
  int16_t ScreenW() const { return flock_.ScreenW(); }
  int16_t ScreenH() const { return flock_.ScreenH(); }
  const MonitorFlocks& OtherFlocks() const { return others_; }

 private:
  // ScreenW and ScreenH from the client area; WorkScr and CleanScreen sized to the window.
  void MeasureStage();

  SaverWindow& window_;
  WorkSurfaces& surfaces_;
  Pacing& pacing_;
  const Settings& settings_;
  RandomSource& random_;
  Flock flock_;
  MonitorFlocks others_;
};

}  // namespace fq
