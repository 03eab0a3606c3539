#include "animation/random_source.h"

#include <bit>

namespace fq {
namespace {

constexpr uint32_t kModulusMask = 0xFFFFFF;  // 2^24 - 1
// Full period 2^24: the increment is odd and the multiplier is 1 modulo 4.
constexpr uint32_t kMultiplier = 0xECE66D;
constexpr uint32_t kIncrement = 0x00000B;
constexpr float kScale = 1.0f / 16777216.0f;
constexpr uint32_t kStreamSpacing = 0x9E3779;

}  // namespace

float LcgRandom::Next() {
  state_ = (state_ * kMultiplier + kIncrement) & kModulusMask;
  return static_cast<float>(state_) * kScale;
}

void LcgRandom::Reseed(float seconds_since_midnight, uint32_t stream) {
  // The seed's bit pattern folded to 24 bits, so that its fraction of a second counts too. An
  // odd multiplier gives each stream below 2^24 a start of its own.
  const uint32_t bits = std::bit_cast<uint32_t>(seconds_since_midnight);
  state_ = (bits ^ (bits >> 24) ^ (stream * kStreamSpacing)) & kModulusMask;
}

}  // namespace fq
