// Deflate and PNG through libdeflate. PNG chunks are big-endian and each
// carries a CRC of its type and data.
#include "art/zlib_formats.h"

#include <libdeflate.h>

#include <memory>
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
  PutU32(out, libdeflate_crc32(0, out.data() + start, out.size() - start));
}

}  // namespace

Bytes Deflated(const Bytes& bytes) {
  constexpr int kBestLevel = 12;
  const std::unique_ptr<libdeflate_compressor, decltype(&libdeflate_free_compressor)> compressor(
      libdeflate_alloc_compressor(kBestLevel), &libdeflate_free_compressor);
  if (!compressor) throw std::runtime_error("libdeflate could not start a compressor");
  Bytes out(libdeflate_zlib_compress_bound(compressor.get(), bytes.size()));
  const size_t size = libdeflate_zlib_compress(compressor.get(), bytes.data(), bytes.size(),
                                               out.data(), out.size());
  if (size == 0) throw std::runtime_error("libdeflate could not compress a picture");
  out.resize(size);
  return out;
}

Bytes EncodePng(const IndexedImage& image, const std::array<uint8_t, 256>& opacity) {
  constexpr uint8_t kNoFilter = 0;
  Bytes rows;
  for (int y = 0; y < image.height; ++y) {
    const auto start = image.indices.begin() + static_cast<ptrdiff_t>(y) * image.width;
    rows.push_back(kNoFilter);
    rows.insert(rows.end(), start, start + image.width);
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
