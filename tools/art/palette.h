// Reduces true-colour pixels to a small palette (median cut), so the 8-bit
// pictures keep their shading.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "art/pictures.h"

namespace fq::art {

// At most `size` colours that stand for `colours` (repeats weigh more).
std::vector<Rgb> MedianCut(const std::vector<Rgb>& colours, int size);

// Index into `palette` of the entry nearest to `colour`.
uint8_t Nearest(const std::vector<Rgb>& palette, Rgb colour);

// `image` over a palette of its own 256 colours.
IndexedImage Reduced(const RgbImage& image);

// `image` over 256 colours with an opacity each (`opacity`): entry 0 is fully
// transparent, and the partly covered edge keeps three steps of opacity.
IndexedImage Reduced(const RgbaImage& image, std::array<uint8_t, 256>& opacity);

}  // namespace fq::art
