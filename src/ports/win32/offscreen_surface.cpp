// Off-screen surfaces: allocation, clearing to black and loading a picture. Nothing here runs
// per frame; the frame step only blits between the device contexts made here.
#include "offscreen_surface.h"

#include <string>

#include "base/fault.h"
#include "ports/shared/clean_screen.h"

#include "win32_platform.h"

namespace fq::win32 {

void OffscreenSurface::Reset(Extent size, PixelFormat format) {
  CheckedSurfaceSize(size);
  // The screen's device context, not the memory one: a bitmap compatible with a fresh memory
  // context would be monochrome.
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = format == PixelFormat::Monochrome
                       ? CreateBitmap(size.width, size.height, 1, 1, nullptr)
                       : CreateCompatibleBitmap(screen, size.width, size.height);
  if (!dc_ && bitmap) dc_ = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  if (!bitmap || !dc_) {
    if (bitmap) DeleteObject(bitmap);
    ThrowSystemFault("An off-screen surface of " + std::to_string(size.width) + " by " +
            std::to_string(size.height) + " pixels could not be created");
  }
  HGDIOBJ previous = SelectObject(dc_, bitmap);
  if (bitmap_) {
    DeleteObject(bitmap_);
  } else {
    original_bitmap_ = previous;
  }
  bitmap_ = bitmap;
  PatBlt(dc_, 0, 0, size.width, size.height, BLACKNESS);
}

void OffscreenSurface::DrawPicture(HBITMAP picture, int32_t top) {
  BITMAP info{};
  GetObjectW(picture, sizeof info, &info);
  HDC picture_dc = CreateCompatibleDC(dc_);
  if (!picture_dc) ThrowSystemFault("A picture could not be drawn into an off-screen surface");
  HGDIOBJ previous = SelectObject(picture_dc, picture);
  ::BitBlt(dc_, 0, 0, info.bmWidth, info.bmHeight - top, picture_dc, 0, top, SRCCOPY);
  SelectObject(picture_dc, previous);
  DeleteDC(picture_dc);
}

void OffscreenSurface::Free() {
  if (!dc_) return;
  SelectObject(dc_, original_bitmap_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
  dc_ = nullptr;
  bitmap_ = nullptr;
  original_bitmap_ = nullptr;
}

}  // namespace fq::win32
