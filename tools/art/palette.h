// Reduces true-colour pixels to a small palette (median cut), so the 8-bit
// pictures keep their shading.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "art/pictures.h"

namespace fq::art {

// At most `size` colours that stand for `colours` (repeats weigh more).
std::vector<Rgb> MedianCut(const std::vector<Rgb>& colours, int size);

// Index into `palette` of the entry nearest to `colour`.
uint8_t Nearest(const std::vector<Rgb>& palette, Rgb colour);

}  // namespace fq::art
