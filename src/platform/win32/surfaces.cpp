// The hidden work form's surfaces on Win32: off-screen bitmaps in the screen's format, and the
// block transfers between them and the saver window. The sheet is converted to the screen's
// format once, at load, so no blit of a frame has to convert pixels (docs/PERFORMANCE.md).
// CleanScreen has no bitmap: a blit from it fills with black.
#include "platform/clean_screen.h"
#include "platform/fault.h"
#include "win32_platform.h"

namespace fq::win32 {

void Win32Platform::LoadWorkSurfaces(const WorkFormDesign& design) {
  if (master_.exists()) return;
  HBITMAP sheet = LoadSpriteSheet(instance_, art_scale_);
  if (!sheet) {
    ThrowSystemFault("The sprite sheet could not be loaded");
  }
  BITMAP info{};
  GetObjectW(sheet, sizeof info, &info);
  try {
    master_.Reset({info.bmWidth, info.bmHeight});
    master_.DrawPicture(sheet);
    work_scr_.Reset(design.WorkScr);
    clean_screen_ = CheckedSurfaceSize(design.CleanScreen);
  } catch (...) {
    DeleteObject(sheet);
    UnloadWorkSurfaces();
    throw;
  }
  DeleteObject(sheet);
}

OffscreenSurface* Win32Platform::Offscreen(SurfaceId surface) {
  switch (surface) {
    case SurfaceId::WorkScr: return &work_scr_;
    case SurfaceId::Master: return &master_;
    case SurfaceId::CleanScreen:
    case SurfaceId::SaverWindow: break;
  }
  return nullptr;
}

HDC Win32Platform::DeviceContext(SurfaceId surface) {
  if (surface == SurfaceId::SaverWindow) return saver_dc_;
  const OffscreenSurface* offscreen = Offscreen(surface);
  return offscreen ? offscreen->dc() : nullptr;
}

void Win32Platform::ResizeSurface(SurfaceId surface, Extent size) {
  if (surface == SurfaceId::CleanScreen) {
    clean_screen_ = CheckedSurfaceSize(size);
    return;
  }
  OffscreenSurface* target = Offscreen(surface);
  if (!target) {
    throw Fault(FaultKind::PlatformFailure,
                "The saver window is sized as a window, not as a surface.");
  }
  target->Reset(size);
}

void Win32Platform::BitBlt(SurfaceId destination, int32_t x, int32_t y, int32_t width,
                           int32_t height, SurfaceId source, int32_t source_x, int32_t source_y,
                           RasterOp op) {
  if (source == SurfaceId::CleanScreen) {
    BlitFromCleanScreen(DeviceContext(destination), x, y, width, height, source_x, source_y, op);
    return;
  }
  ::BitBlt(DeviceContext(destination), x, y, width, height, DeviceContext(source), source_x,
           source_y, static_cast<DWORD>(op));
}

// What BitBlt would do with a black source of CleanScreen's size; the pixels are the ones a
// black bitmap would give.
void Win32Platform::BlitFromCleanScreen(HDC destination, int32_t x, int32_t y, int32_t width,
                                        int32_t height, int32_t source_x, int32_t source_y,
                                        RasterOp op) {
  const std::optional<PixelRect> black =
      CleanScreenBlackFill(clean_screen_, x, y, width, height, source_x, source_y, op);
  if (black) PatBlt(destination, black->left, black->top, black->width, black->height, BLACKNESS);
}

void Win32Platform::UnloadWorkSurfaces() {
  work_scr_.Free();
  clean_screen_ = {};
  master_.Free();
}

}  // namespace fq::win32
