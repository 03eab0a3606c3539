// The byte layouts that need deflate, from zlib: the compressed pictures the
// program carries for dense screens, and the PNG of the largest icon. Host
// only, like the tool.
#pragma once

#include <array>
#include <cstdint>

#include "art/file_formats.h"
#include "art/pictures.h"

namespace fq::art {

// A zlib stream (RFC 1950) of `bytes` at zlib's best compression.
Bytes Deflated(const Bytes& bytes);

// A PNG file of 8-bit indices with the palette's opacities, each row with the
// filter that leaves it smallest.
Bytes EncodePng(const IndexedImage& image, const std::array<uint8_t, 256>& opacity);

}  // namespace fq::art
