// The committed pictures as the Unix ports use them: the sprite sheet's BMP file for each scale,
// embedded at build time, decoded to TrueColor pixels once at load.
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

// The BMP file of the sprite sheet drawn for `scale` (1 to kMaxScale), whose layout is `scale`
// times animation/sheet_layout.h's: src/resources/sprite_sheet.bmp byte for byte at 1, the
// expanded sprite_sheet_<scale>x.bmp.zlib above. Throws Fault for another scale.
std::span<const uint8_t> EmbeddedSpriteSheet(int scale);
// That sheet, decoded.
Picture EmbeddedSheet(int scale);

}  // namespace fq
