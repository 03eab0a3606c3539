// A flock's placement and its three-pass `FrameStep`: erase, update and draw, present. Sprites
// are composed in the back buffer and only finished cells reach the screen, so nothing
// flickers.
#include "animation/flock.h"

#include "animation/motion.h"
#include "animation/random_source.h"
#include "animation/sheet_layout.h"
#include "numbers/rounding.h"

namespace fq {
namespace {

// The last rows and columns of a cell that are never copied from the sheet.
constexpr int16_t kUndrawnEdge = kSheetCell - kSheetDrawnBlock;

// Wing cycle 0, 1, 2, 3, 2, 1, ...: the direction turns at the first and the last frame.
void Flap(Sprite& sprite) {
  sprite.Tick = Wrap16(sprite.Tick + 1);
  if (sprite.Tick <= kLastTick) return;
  if (sprite.Frame < 1) sprite.Direction = 1;
  if (sprite.Frame > kSheetFrames - 2) sprite.Direction = -1;
  sprite.Tick = 0;
  sprite.Frame = Wrap16(sprite.Frame + sprite.Direction);
}

void Move(Sprite& sprite) {
  sprite.X = Wrap16(sprite.X + sprite.SpeedX);
  sprite.Y = Wrap16(sprite.Y + sprite.SpeedY);
}

}  // namespace

// Sizes are pixels throughout, where a form designer would count twips: the window's outer
// size and a surface's size share the unit, so the surfaces match the window exactly.
void Flock::Measure(Extent stage, Extent surfaces) {
  ScreenH_ = RoundToInt16(stage.height, "The saver window's height");
  ScreenW_ = RoundToInt16(stage.width, "The saver window's width");
  surfaces_->ResizeSurface(SurfaceId::CleanScreen, surfaces);
  surfaces_->ResizeSurface(SurfaceId::WorkScr, surfaces);
}

void Flock::PlaceSprites() {
  const int16_t in_scene = SpritesInScene(settings_.Count);
  for (int16_t i = 0; i < in_scene; ++i) PlaceSprite(Sprites_[i]);
}

// `Frame`, `Tick` and `Direction` are left as they are: zero since the start, so every
// sprite of the scene flaps in step with the others.
void Flock::PlaceSprite(Sprite& sprite) {
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

void Flock::FrameStep() {
  const int16_t in_scene = SpritesInScene(settings_.Count);
  // Every erase comes before every draw, so no sprite is wiped out by a neighbour's erase.
  for (int16_t i = 0; i < in_scene; ++i) {
    const Sprite& sprite = Sprites_[i];
    surfaces_->BitBlt(SurfaceId::WorkScr, sprite.X, sprite.Y, sprite.W, sprite.H,
                      SurfaceId::CleanScreen, sprite.X, sprite.Y, RasterOp::SrcCopy);
  }
  for (int16_t i = 0; i < in_scene; ++i) Update(Sprites_[i]);
  // The whole new cell goes to the screen, with whatever other sprites lie in it.
  for (int16_t i = 0; i < in_scene; ++i) {
    const Sprite& sprite = Sprites_[i];
    surfaces_->BitBlt(SurfaceId::SaverWindow, sprite.X, sprite.Y, sprite.W, sprite.H,
                      SurfaceId::WorkScr, sprite.X, sprite.Y, RasterOp::SrcCopy);
  }
}

// Flap, re-enter, move, then stamp through the mask: AND clears the silhouette, OR paints
// the frame into it.
void Flock::Update(Sprite& sprite) {
  Flap(sprite);
  ReEnter(sprite);
  Move(sprite);
  const int32_t width = sprite.W - kUndrawnEdge;
  const int32_t height = sprite.H - kUndrawnEdge;
  surfaces_->BitBlt(SurfaceId::WorkScr, sprite.X, sprite.Y, width, height, SurfaceId::Master,
                    sprite.MaskX[sprite.Frame], sprite.MaskY[sprite.Frame], RasterOp::SrcAnd);
  surfaces_->BitBlt(SurfaceId::WorkScr, sprite.X, sprite.Y, width, height, SurfaceId::Master,
                    sprite.FrameX[sprite.Frame], sprite.FrameY[sprite.Frame],
                    RasterOp::SrcPaint);
}

// Tested on the position before this step's move: a sprite that has just passed an edge is
// drawn once more off the screen and comes back in the following step. The random numbers
// are drawn in the order r, r2, s.
void Flock::ReEnter(Sprite& sprite) {
  if (sprite.X <= ScreenW_ && sprite.Y <= ScreenH_) return;
  if (random_.Next() < 0.5f) {
    sprite.Y = RoundToInt16(random_.Next() * (ScreenH_ / kReEntryBandDivisor),
                            "A re-entering sprite's y");
    sprite.X = kReEntryEdge;
  } else {
    sprite.Y = kReEntryEdge;
    sprite.X = RoundToInt16(random_.Next() * (ScreenW_ / kReEntryBandDivisor),
                            "A re-entering sprite's x");
  }
  const float s = random_.Next();
  sprite.SpeedX = RoundToInt16(sprite.SpeedX * s + kReEntryMinSpeedX,
                               "A re-entering sprite's speed");
}

}  // namespace fq
