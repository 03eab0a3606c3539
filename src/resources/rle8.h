// Run-length encoded 8-bit pictures (BI_RLE8), as the sprite sheet is stored: about a
// fifteenth of its plain size. Plain C++, shared by every port, so the native tests expand the
// very bytes the program carries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "base/extent.h"

namespace fq {

// Bytes per row of an uncompressed 8-bit picture: rows are padded to 4 bytes.
constexpr size_t Rle8RowBytes(int32_t width) { return (static_cast<size_t>(width) + 3) / 4 * 4; }

// Expands `data` into `rows`, the rows of an uncompressed 8-bit picture of `size` (bottom row
// first, as the data give them). Pixels the data skip are left as they were. False when the
// data are cut short, lack the end mark or reach outside the picture, or when `rows` does not
// hold exactly `size`.
bool ExpandRle8(std::span<const uint8_t> data, Extent size, std::span<uint8_t> rows);

}  // namespace fq
