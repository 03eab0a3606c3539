#include "resources/picture.h"

#include <algorithm>
#include <cstdlib>

#include "base/fault.h"
#include "resources/rle8.h"

namespace fq {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kPaletteEntrySize = 4;  // blue, green, red, unused
constexpr uint32_t kRle8Compression = 1;  // BI_RLE8, as the 1x sprite sheet is stored

// The little-endian unsigned field of `size` bytes at `offset`, or a fault past the end.
uint32_t Field(std::span<const uint8_t> file, size_t offset, size_t size) {
  if (offset + size > file.size()) throw Fault(FaultKind::PlatformFailure, "A picture is cut short.");
  uint32_t value = 0;
  for (size_t i = size; i-- > 0;) value = value << 8 | file[offset + i];
  return value;
}

}  // namespace

Picture DecodeBmp(std::span<const uint8_t> file) {
  const uint32_t info_size = Field(file, kFileHeaderSize, 4);
  const auto width = static_cast<int32_t>(Field(file, kFileHeaderSize + 4, 4));
  const auto stored_height = static_cast<int32_t>(Field(file, kFileHeaderSize + 8, 4));
  const uint32_t bits = Field(file, kFileHeaderSize + 14, 2);
  const uint32_t compression = Field(file, kFileHeaderSize + 16, 4);
  const uint32_t colours = Field(file, kFileHeaderSize + 32, 4);
  const bool run_length = compression == kRle8Compression && stored_height > 0;
  if (Field(file, 0, 2) != 0x4D42 || bits != 8 || (compression != 0 && !run_length) ||
      width <= 0 || stored_height == 0 || colours > 256) {
    throw Fault(FaultKind::PlatformFailure, "A picture is not an 8-bit BMP.");
  }
  const size_t palette = kFileHeaderSize + info_size;
  std::span<const uint8_t> rows = file.subspan(std::min<size_t>(Field(file, 10, 4), file.size()));
  // Rows are padded to 4 bytes and stored bottom row first unless the height is negative.
  const size_t stride = Rle8RowBytes(width);
  Picture picture{width, std::abs(stored_height), {}};
  std::vector<uint8_t> expanded;
  if (run_length) {
    expanded.resize(stride * picture.height);
    if (!ExpandRle8(rows, {width, picture.height}, expanded)) {
      throw Fault(FaultKind::PlatformFailure, "A run-length encoded picture is damaged.");
    }
    rows = expanded;
  }
  picture.pixels.reserve(static_cast<size_t>(width) * picture.height);
  for (int32_t y = 0; y < picture.height; ++y) {
    const size_t row = stride * (stored_height > 0 ? picture.height - 1 - y : y);
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t index = Field(rows, row + x, 1);
      if (colours != 0 && index >= colours) {
        throw Fault(FaultKind::PlatformFailure, "A picture uses a colour it has not got.");
      }
      // Blue, green, red in the file; 0x00RRGGBB in the picture.
      picture.pixels.push_back(Field(file, palette + index * kPaletteEntrySize, 3));
    }
  }
  return picture;
}

}  // namespace fq
