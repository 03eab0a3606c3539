// Every number the sprites' motion depends on, with its reason.
#pragma once

#include <cstdint>

namespace fq {

// A new sprite drifts right three pixels and down one per frame step.
inline constexpr int16_t kStartSpeedX = 3;
inline constexpr int16_t kSpeedY = 1;

// The wing frame changes on every sixth step: ticks 0 to 5 show one frame.
inline constexpr int16_t kLastTick = 5;

// A sprite that has passed the right or bottom edge comes back with half its 128-pixel cell
// outside the left or top edge...
inline constexpr int16_t kReEntryEdge = -64;
// ...within the upper or the left third of the screen...
inline constexpr int16_t kReEntryBandDivisor = 3;
// ...and a new speed of old speed * s + 2, so never slower than 2 pixels a step.
inline constexpr float kReEntryMinSpeedX = 2.0f;

// Margins: every non-black pixel of a frame lies within these cell coordinates (inclusive).
// Only the new cell of a sprite reaches the screen, so the black margin above and to the left
// is what keeps a sprite that moves at most 31 right and 32 down per step from leaving a trail.
inline constexpr int kSpriteLeft = 31;
inline constexpr int kSpriteRight = 94;
inline constexpr int kSpriteTop = 32;
inline constexpr int kSpriteBottom = 95;

}  // namespace fq
