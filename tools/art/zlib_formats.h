// The byte layouts that need deflate: the compressed pictures the program
// carries, and the PNG of the largest icon. Host only, like the tool.
#pragma once

#include <array>
#include <cstdint>

#include "art/file_formats.h"
#include "art/pictures.h"

namespace fq::art {

// A zlib stream (RFC 1950) of `bytes` at libdeflate's best compression, which
// leaves the pictures some 8% smaller than zlib's best.
Bytes Deflated(const Bytes& bytes);

// A PNG file of 8-bit indices with the palette's opacities, its rows
// unfiltered: a palette's indices are no quantities, so a row's differences
// from its neighbours compress worse than the row (a quarter more, here).
Bytes EncodePng(const IndexedImage& image, const std::array<uint8_t, 256>& opacity);

}  // namespace fq::art
