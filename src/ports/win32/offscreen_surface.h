// One off-screen surface: a bitmap in the screen's own format, or a monochrome one, selected
// into a memory device context of its own for the life of the surface. Blits between surfaces
// in the screen's format and the screen need no format conversion, which under GDI is where
// most of a blit's time goes.
#pragma once

#include <windows.h>

#include "platform/platform.h"

namespace fq::win32 {

enum class PixelFormat { Screen, Monochrome };

class OffscreenSurface {
 public:
  OffscreenSurface() = default;
  OffscreenSurface(const OffscreenSurface&) = delete;
  OffscreenSurface& operator=(const OffscreenSurface&) = delete;
  ~OffscreenSurface() { Free(); }

  // Replaces the bitmap with a black one of `size` pixels; creates the device context on first
  // use. Throws Fault when the size is empty or the system refuses either.
  void Reset(Extent size, PixelFormat format = PixelFormat::Screen);
  // Copies a picture from its row `top` down into the surface at 0, 0, converting it to the
  // surface's format.
  void DrawPicture(HBITMAP picture, int32_t top = 0);
  void Free();

  bool exists() const { return dc_ != nullptr; }
  HDC dc() const { return dc_; }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ original_bitmap_ = nullptr;
};

}  // namespace fq::win32
