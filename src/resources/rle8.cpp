// BI_RLE8 expansion; see rle8.h. Every escape of the format is read, not only the ones the
// picture generator writes, so any valid picture loads.
#include "resources/rle8.h"

namespace fq {

bool ExpandRle8(std::span<const uint8_t> data, Extent size, std::span<uint8_t> rows) {
  const size_t stride = Rle8RowBytes(size.width);
  if (size.width < 1 || size.height < 1 || rows.size() != stride * size.height) return false;
  int32_t x = 0;
  int32_t y = 0;
  const auto put = [&](uint8_t index) {
    if (x >= size.width || y >= size.height) return false;
    rows[static_cast<size_t>(y) * stride + static_cast<size_t>(x++)] = index;
    return true;
  };
  // The position may rest just past the last pixel of a row or above the top row, as after
  // the last pixel or row of the picture, but no further: added up unchecked, skips would
  // wrap it round to before the buffer.
  const auto move_by = [&](int32_t right, int32_t up) {
    if (right > size.width - x || up > size.height - y) return false;
    x += right;
    y += up;
    return true;
  };
  size_t at = 0;
  while (data.size() - at >= 2) {
    const uint8_t count = data[at];
    const uint8_t code = data[at + 1];
    at += 2;
    if (count > 0) {  // `count` pixels of index `code`
      for (int i = 0; i < count; ++i) {
        if (!put(code)) return false;
      }
    } else if (code == 0) {  // end of row
      x = 0;
      if (!move_by(0, 1)) return false;
    } else if (code == 1) {  // end of picture
      return true;
    } else if (code == 2) {  // skip right and up
      if (data.size() - at < 2 || !move_by(data[at], data[at + 1])) return false;
      at += 2;
    } else {  // `code` indices as they are, padded to a word
      const size_t padded = code + code % 2u;
      if (data.size() - at < padded) return false;
      for (int i = 0; i < code; ++i) {
        if (!put(data[at + i])) return false;
      }
      at += padded;
    }
  }
  return false;
}

}  // namespace fq
