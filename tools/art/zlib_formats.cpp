// Deflate and PNG through zlib. PNG chunks are big-endian and each carries a
// CRC of its type and data.
#include "art/zlib_formats.h"

#include <zlib.h>

#include <cstdlib>
#include <stdexcept>
#include <string_view>

namespace fq::art {
namespace {

void PutU32(Bytes& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void Chunk(Bytes& out, std::string_view type, const Bytes& data) {
  PutU32(out, static_cast<uint32_t>(data.size()));
  const size_t start = out.size();
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data.begin(), data.end());
  const auto crc = crc32(0, out.data() + start, static_cast<uInt>(out.size() - start));
  PutU32(out, static_cast<uint32_t>(crc));
}

uint8_t Paeth(int left, int up, int up_left) {
  const int p = left + up - up_left;
  const int pa = std::abs(p - left);
  const int pb = std::abs(p - up);
  const int pc = std::abs(p - up_left);
  return static_cast<uint8_t>(pa <= pb && pa <= pc ? left : pb <= pc ? up : up_left);
}

// The row under filter `type` (0 none, 1 sub, 2 up, 3 average, 4 Paeth).
Bytes Filtered(const Bytes& row, const Bytes& previous, int type, int pixel_bytes) {
  Bytes out{static_cast<uint8_t>(type)};
  for (size_t i = 0; i < row.size(); ++i) {
    const int left = i >= static_cast<size_t>(pixel_bytes) ? row[i - pixel_bytes] : 0;
    const int up = previous[i];
    const int up_left = i >= static_cast<size_t>(pixel_bytes) ? previous[i - pixel_bytes] : 0;
    const int predicted = type == 0 ? 0 : type == 1 ? left : type == 2 ? up
                          : type == 3 ? (left + up) / 2 : Paeth(left, up, up_left);
    out.push_back(static_cast<uint8_t>(row[i] - predicted));
  }
  return out;
}

// The usual choice: the filter whose bytes, read as signed, lie closest to zero.
int Cost(const Bytes& filtered) {
  int sum = 0;
  for (size_t i = 1; i < filtered.size(); ++i) sum += std::abs(static_cast<int8_t>(filtered[i]));
  return sum;
}

}  // namespace

Bytes Deflated(const Bytes& bytes) {
  uLongf size = compressBound(static_cast<uLong>(bytes.size()));
  Bytes out(size);
  if (compress2(out.data(), &size, bytes.data(), static_cast<uLong>(bytes.size()),
                Z_BEST_COMPRESSION) != Z_OK) {
    throw std::runtime_error("zlib could not compress a picture");
  }
  out.resize(size);
  return out;
}

Bytes EncodePng(const IndexedImage& image, const std::array<uint8_t, 256>& opacity) {
  constexpr int kPixelBytes = 1;
  Bytes rows;
  Bytes previous(static_cast<size_t>(image.width), 0);
  for (int y = 0; y < image.height; ++y) {
    const auto start = image.indices.begin() + static_cast<ptrdiff_t>(y) * image.width;
    Bytes row(start, start + image.width);
    Bytes best = Filtered(row, previous, 0, kPixelBytes);
    for (int type = 1; type <= 4; ++type) {
      Bytes candidate = Filtered(row, previous, type, kPixelBytes);
      if (Cost(candidate) < Cost(best)) best = std::move(candidate);
    }
    rows.insert(rows.end(), best.begin(), best.end());
    previous = std::move(row);
  }
  Bytes header;
  PutU32(header, static_cast<uint32_t>(image.width));
  PutU32(header, static_cast<uint32_t>(image.height));
  header.insert(header.end(), {8, 3, 0, 0, 0});  // 8-bit indices, deflate, no interlace
  Bytes palette;
  for (Rgb c : image.palette) palette.insert(palette.end(), {c.r, c.g, c.b});
  Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Chunk(png, "IHDR", header);
  Chunk(png, "PLTE", palette);
  Chunk(png, "tRNS", Bytes(opacity.begin(), opacity.end()));
  Chunk(png, "IDAT", Deflated(rows));
  Chunk(png, "IEND", {});
  return png;
}

}  // namespace fq::art
