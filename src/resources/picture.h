// A BMP file of 8 bits a pixel, as the picture generator writes the sprite sheets, decoded to
// TrueColor pixels: the form the Unix ports draw from.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace fq {

// Pixels are 0x00RRGGBB, row by row from the top-left corner.
struct Picture {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;
};

// Decodes a BMP of 8 bits a pixel with its palette, plain or run-length encoded (the form the
// picture generator writes the sprite sheet in). Throws Fault for anything else.
Picture DecodeBmp(std::span<const uint8_t> file);

}  // namespace fq
