// The sprite sheets the Unix programs carry: the BMP file drawn for each scale, embedded at
// build time, expanded once and decoded at load.
#pragma once

#include "resources/picture.h"

namespace fq {

// The sprite sheet drawn for `scale` (1 to kMaxScale), decoded, whose layout is `scale` times
// animation/sheet_layout.h's: from src/resources/sprite_sheet.bmp at 1, from the expanded
// sprite_sheet_<scale>x.bmp.zlib above. Throws Fault for another scale.
Picture EmbeddedSheet(int scale);

}  // namespace fq
