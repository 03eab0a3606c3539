// Loads the sprite sheet and the logo into 8-bit DIB sections with their own palettes, which is
// what LoadImage with LR_CREATEDIBSECTION gives for an uncompressed bitmap resource. A DIB
// section cannot hold compressed rows, so the program expands them itself: the 1x sheet's
// run-length rows, and the zlib streams of the pictures drawn for dense screens.
#include <cstring>

#include "resources/inflate.h"
#include "resources/resource_ids.h"
#include "resources/rle8.h"
#include "win32_platform.h"

namespace fq::win32 {
namespace {

constexpr size_t kFileHeaderSize = 14;  // BITMAPFILEHEADER, which a BITMAP resource leaves out

std::span<const uint8_t> ResourceBytes(HINSTANCE instance, int id, const wchar_t* type) {
  const HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), type);
  const HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
  const auto* bytes = static_cast<const uint8_t*>(loaded ? LockResource(loaded) : nullptr);
  if (!bytes) return {};
  return {bytes, SizeofResource(instance, found)};
}

// A DIB section of the header's size and format (8 bits with 256 colours, or 24 bits), whose
// rows `fill` writes from the bytes after the header and palette; null with ERROR_INVALID_DATA
// when `bytes` do not start with such a header of `compression` or `fill` refuses them.
template <typename Fill>
HBITMAP PictureDib(std::span<const uint8_t> bytes, DWORD compression, Fill fill) {
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD palette[256];
  } format{};
  if (bytes.size() < sizeof format.header) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  std::memcpy(&format.header, bytes.data(), sizeof format.header);
  const BITMAPINFOHEADER& header = format.header;
  const bool eight_bit = header.biBitCount == 8 && header.biClrUsed == 256;
  const bool true_colour = header.biBitCount == 24 && header.biClrUsed == 0 &&
                           compression == BI_RGB;
  const size_t palette_size = eight_bit ? sizeof format.palette : 0;
  if (header.biSize != sizeof header || !(eight_bit || true_colour) ||
      header.biCompression != compression || header.biWidth < 1 || header.biHeight < 1 ||
      bytes.size() < sizeof header + palette_size) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  std::memcpy(format.palette, bytes.data() + sizeof header, palette_size);
  format.header.biCompression = BI_RGB;
  format.header.biSizeImage = 0;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&format),
                                    DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return nullptr;
  const Extent extent{header.biWidth, header.biHeight};
  const size_t stride = (static_cast<size_t>(extent.width) * header.biBitCount / 8 + 3) & ~3u;
  const std::span rows(static_cast<uint8_t*>(bits), stride * extent.height);
  if (!fill(bytes.subspan(sizeof header + palette_size), extent, rows)) {
    DeleteObject(bitmap);
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  return bitmap;
}

}  // namespace

HBITMAP LoadRle8Bitmap(HINSTANCE instance, int id) {
  const std::span<const uint8_t> bytes = ResourceBytes(instance, id, RT_BITMAP);
  if (bytes.empty()) return nullptr;
  return PictureDib(bytes, BI_RLE8, [](std::span<const uint8_t> data, Extent extent,
                                        std::span<uint8_t> rows) {
    return ExpandRle8(data, extent, rows);
  });
}

HBITMAP LoadCompressedBitmap(HINSTANCE instance, int id) {
  const std::span<const uint8_t> bytes = ResourceBytes(instance, id, RT_RCDATA);
  if (bytes.empty()) return nullptr;
  std::vector<uint8_t> file;
  if (!Inflate(bytes, kLargestPicture, file) || file.size() < kFileHeaderSize) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  return PictureDib(std::span(file).subspan(kFileHeaderSize), BI_RGB,
                     [](std::span<const uint8_t> data, Extent, std::span<uint8_t> rows) {
                       if (data.size() < rows.size()) return false;
                       std::memcpy(rows.data(), data.data(), rows.size());
                       return true;
                     });
}

HBITMAP LoadSpriteSheet(HINSTANCE instance, int scale) {
  return scale == 1 ? LoadRle8Bitmap(instance, kSpriteSheetId)
                    : LoadCompressedBitmap(instance, SpriteSheetId(scale));
}

}  // namespace fq::win32
