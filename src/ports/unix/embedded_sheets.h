// The sprite sheets the Unix programs carry: the BMP file drawn for each scale, embedded at
// build time, expanded once and decoded at load.
#pragma once

#include <cstdint>
#include <span>

#include "resources/picture.h"

namespace fq {

// The BMP file of the sprite sheet drawn for `scale` (1 to kMaxScale), whose layout is `scale`
// times animation/sheet_layout.h's: src/resources/sprite_sheet.bmp byte for byte at 1, the
// expanded sprite_sheet_<scale>x.bmp.zlib above. Throws Fault for another scale.
std::span<const uint8_t> EmbeddedSpriteSheet(int scale);
// That sheet, decoded.
Picture EmbeddedSheet(int scale);

}  // namespace fq
