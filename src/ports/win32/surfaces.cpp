// The hidden work form's surfaces on Win32: off-screen bitmaps in the screen's format, and the
// block transfers between them and the saver window. The sheet's frames are converted to the
// screen's format once, at load, so that painting them converts no pixels; its masks are kept
// in monochrome (sheet_surfaces.h, docs/PERFORMANCE.md). CleanScreen has no bitmap: a blit
// from it fills with black.
#include "animation/sheet_layout.h"
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
  try {
    master_.Load(sheet, kSheetMaskRowY * art_scale_);
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
    case SurfaceId::Master:
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
                "Only WorkScr and CleanScreen are resized as surfaces.");
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
  if (source == SurfaceId::Master) {
    master_.BlitTo(DeviceContext(destination), x, y, width, height, source_x, source_y,
                   static_cast<DWORD>(op));
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
