// Loads a BI_RLE8 bitmap resource into an 8-bit DIB section with the resource's own palette,
// which is what LoadImage with LR_CREATEDIBSECTION gives for an uncompressed one: a DIB
// section cannot hold compressed rows, so the program expands them itself.
#include <cstring>

#include "resources/rle8.h"
#include "win32_platform.h"

namespace fq::win32 {

HBITMAP LoadRle8Bitmap(HINSTANCE instance, int id) {
  const HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), RT_BITMAP);
  const HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
  const auto* bytes = static_cast<const uint8_t*>(loaded ? LockResource(loaded) : nullptr);
  const size_t size = found ? SizeofResource(instance, found) : 0;
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD palette[256];
  } format{};
  if (!bytes || size < sizeof format) return nullptr;
  std::memcpy(&format, bytes, sizeof format);
  const BITMAPINFOHEADER& header = format.header;
  if (header.biSize != sizeof header || header.biBitCount != 8 ||
      header.biCompression != BI_RLE8 || header.biClrUsed != 256 || header.biHeight < 1) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  format.header.biCompression = BI_RGB;
  format.header.biSizeImage = 0;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&format),
                                    DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return nullptr;
  const Extent extent{header.biWidth, header.biHeight};
  const std::span rows(static_cast<uint8_t*>(bits), Rle8RowBytes(extent.width) * extent.height);
  if (!ExpandRle8({bytes + sizeof format, size - sizeof format}, extent, rows)) {
    DeleteObject(bitmap);
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  return bitmap;
}

}  // namespace fq::win32
