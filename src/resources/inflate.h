// zlib streams (deflate, RFC 1950 and 1951), as the pictures drawn for dense screens are stored:
// run-length encoding leaves their shading at a byte a pixel, which the program file has no
// room for at 2x and 3x. Plain C++, shared by every port, so the native tests expand the very
// bytes the program carries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace fq {

// Appends what `data` expands to onto `out`. False when the data are damaged or cut short,
// fail their checksum, or would expand past `limit` bytes; `out` may then hold a part.
bool Inflate(std::span<const uint8_t> data, size_t limit, std::vector<uint8_t>& out);

// The limit for the program's pictures: the 3x sheet expands to 1.2 MB, and damaged data stop
// well before they could take more.
inline constexpr size_t kLargestPicture = 4 << 20;

}  // namespace fq
