// The random numbers of the scene: uniform single-precision values in [0, 1), reseeded from
// the time of day. The scene takes the interface, so tests can script the numbers.
#pragma once

#include <cstdint>

namespace fq {

class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // The next uniform value in [0, 1).
  virtual float Next() = 0;
  // Restarts the sequence from a seed; the same seed gives the same sequence.
  virtual void Reseed(float seconds_since_midnight) = 0;
};

// A 24-bit linear congruential generator. 24 bits fill a float's significand exactly, so
// every value state / 2^24 is representable and strictly below 1.
class LcgRandom : public RandomSource {
 public:
  float Next() override;
  void Reseed(float seconds_since_midnight) override { Reseed(seconds_since_midnight, 0); }
  // Each stream is a sequence of its own for the same seed; stream 0 is Reseed's.
  void Reseed(float seconds_since_midnight, uint32_t stream);

 private:
  uint32_t state_ = 0x5A17C3;
};

}  // namespace fq
