// A random source for tests: hands out the scripted values in order, then `fill`, and keeps
// count of what was drawn and how it was seeded.
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

}  // namespace fq
