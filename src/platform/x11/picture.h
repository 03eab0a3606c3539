// The committed pictures as the X11 port uses them: the sprite sheet's BMP file, embedded at
// build time, decoded to TrueColor pixels once at load.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace fq::x11 {

// Pixels are 0x00RRGGBB, row by row from the top-left corner.
struct Picture {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;
};

// Decodes a BMP of 8 bits a pixel with its palette, plain or run-length encoded (the form the
// picture generator writes the sprite sheet in). Throws Fault for anything else.
Picture DecodeBmp(std::span<const uint8_t> file);

// src/resources/sprite_sheet.bmp, byte for byte (generated source), for `scale` 1.
std::span<const uint8_t> EmbeddedSpriteSheet();
// The sheet drawn for `scale` (1 to kMaxScale).
inline std::span<const uint8_t> EmbeddedSpriteSheet(int) { return EmbeddedSpriteSheet(); }

}  // namespace fq::x11
