// The `Sprite` record and the `Sprites` table: the whole state of the flying sprites, one
// fixed table created zeroed at full capacity and never resized.
#pragma once

#include <array>
#include <cstdint>

namespace fq {

// Every field is a signed 16-bit integer. Only entries 0 to 3 of the four arrays are used
// (one per frame of the sheet); the rest stay zero.
struct Sprite {
  int16_t Frame = 0;  // 0 to 3: index into the four arrays
  int16_t X = 0;      // left edge of the cell, pixels
  int16_t Y = 0;      // top edge of the cell, pixels
  int16_t W = 0;
  int16_t H = 0;
  int16_t SpeedX = 0;  // pixels right per frame step
  int16_t SpeedY = 0;  // pixels down per frame step
  int16_t FrameX[21] = {};
  int16_t FrameY[21] = {};
  int16_t MaskX[21] = {};
  int16_t MaskY[21] = {};
  int16_t Tick = 0;       // frame steps since `Frame` last changed
  int16_t Direction = 0;  // +1 or -1 once the frame has changed; 0 before
};

inline constexpr int kSpriteTableSize = 31;
using SpriteTable = std::array<Sprite, kSpriteTableSize>;

// How many records a scene uses for the stored `Count`. The dialog never stores more than
// 30, so a larger (hand-edited) value is reduced to 30; 0 or below means no sprites.
inline constexpr int16_t kMaxSpritesInScene = 30;
constexpr int16_t SpritesInScene(int16_t Count) {
  if (Count <= 0) return 0;
  return Count > kMaxSpritesInScene ? kMaxSpritesInScene : Count;
}

}  // namespace fq
