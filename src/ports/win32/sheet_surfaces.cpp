// The sprite sheet in two bitmaps; see sheet_surfaces.h.
#include "sheet_surfaces.h"

#include <algorithm>

namespace fq::win32 {

void SheetSurfaces::Load(HBITMAP sheet, int32_t mask_top) {
  BITMAP info{};
  GetObjectW(sheet, sizeof info, &info);
  frames_.Reset({info.bmWidth, mask_top});
  frames_.DrawPicture(sheet);
  // Pixels turn monochrome by colour, white to 1, from the screen's format; from the 8-bit
  // picture Wine turned every pixel to 0. So the masks pass through that format.
  const Extent masks_size{info.bmWidth, info.bmHeight - mask_top};
  OffscreenSurface masks_in_colour;
  masks_in_colour.Reset(masks_size);
  masks_in_colour.DrawPicture(sheet, mask_top);
  masks_.Reset(masks_size, PixelFormat::Monochrome);
  ::BitBlt(masks_.dc(), 0, 0, masks_size.width, masks_size.height, masks_in_colour.dc(), 0, 0,
           SRCCOPY);
  mask_top_ = mask_top;
}

void SheetSurfaces::Free() {
  frames_.Free();
  masks_.Free();
}

void SheetSurfaces::BlitTo(HDC destination, int32_t x, int32_t y, int32_t width,
                           int32_t height, int32_t source_x, int32_t source_y, DWORD op) const {
  if (width <= 0 || height <= 0) return;
  const auto frame_rows =
      static_cast<int32_t>(std::clamp<int64_t>(int64_t{mask_top_} - source_y, 0, height));
  if (frame_rows > 0) {
    ::BitBlt(destination, x, y, width, frame_rows, frames_.dc(), source_x, source_y, op);
  }
  if (frame_rows < height) {
    ::BitBlt(destination, x, y + frame_rows, width, height - frame_rows, masks_.dc(), source_x,
             source_y + frame_rows - mask_top_, op);
  }
}

}  // namespace fq::win32
