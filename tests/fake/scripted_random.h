// Random sources for tests: one that hands out scripted values, and the program's own generator
// started from one seed rather than the clock.
#pragma once

#include <deque>
#include <vector>

#include "animation/random_source.h"

namespace fq {

class ScriptedRandom : public RandomSource {
 public:
  explicit ScriptedRandom(float fill = 0.25f) : fill_(fill) {}

  void Script(std::initializer_list<float> values) { script_.insert(script_.end(), values); }

  float Next() override {
    ++draws;
    if (script_.empty()) return fill_;
    const float value = script_.front();
    script_.pop_front();
    return value;
  }
  void Reseed(float seconds) override { seeds.push_back(seconds); }

  int draws = 0;
  std::vector<float> seeds;

 private:
  float fill_;
  std::deque<float> script_;
};

// The seed the ports' pixel tests start every generator from, on both sides of a comparison.
inline constexpr float kTestSeed = 40321.25f;

struct SeededRandom : LcgRandom {
  void Reseed(float) override { LcgRandom::Reseed(kTestSeed); }
};

}  // namespace fq
