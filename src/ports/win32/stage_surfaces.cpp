// A stage's surfaces on Win32; see stage_surfaces.h. The sheet's frames are converted to the
// screen's format once, at load, so that painting them converts no pixels; its masks are kept in
// monochrome (sheet_surfaces.h, docs/PERFORMANCE.md). A blit from CleanScreen fills with black.
#include "stage_surfaces.h"

#include "animation/sheet_layout.h"
#include "base/fault.h"
#include "ports/shared/clean_screen.h"
#include "win32_platform.h"

namespace fq::win32 {

const SheetSurfaces& SpriteSheets::ForScale(int scale) {
  SheetSurfaces& sheet = sheets_.at(static_cast<size_t>(scale - 1));
  if (sheet.exists()) return sheet;
  HBITMAP picture = LoadSpriteSheet(instance_, scale);
  if (!picture) ThrowSystemFault("The sprite sheet could not be loaded");
  try {
    sheet.Load(picture, kSheetMaskRowY * scale);
  } catch (...) {
    DeleteObject(picture);
    sheet.Free();
    throw;
  }
  DeleteObject(picture);
  return sheet;
}

void StageSurfaces::LoadWorkSurfaces(const WorkFormDesign& design) {
  if (master_) return;
  try {
    master_ = &sheets_.ForScale(scale_);
    work_scr_.Reset(design.WorkScr);
    clean_screen_ = CheckedSurfaceSize(design.CleanScreen);
  } catch (...) {
    UnloadWorkSurfaces();
    throw;
  }
}

HDC StageSurfaces::DeviceContext(SurfaceId surface) const {
  switch (surface) {
    case SurfaceId::SaverWindow: return window_dc_;
    case SurfaceId::WorkScr: return work_scr_.dc();
    case SurfaceId::Master:
    case SurfaceId::CleanScreen: break;
  }
  return nullptr;
}

void StageSurfaces::ResizeSurface(SurfaceId surface, Extent size) {
  if (surface == SurfaceId::CleanScreen) {
    clean_screen_ = CheckedSurfaceSize(size);
  } else if (surface == SurfaceId::WorkScr) {
    work_scr_.Reset(size);
  } else {
    throw Fault(FaultKind::PlatformFailure,
                "Only WorkScr and CleanScreen are resized as surfaces.");
  }
}

void StageSurfaces::BitBlt(SurfaceId destination, int32_t x, int32_t y, int32_t width,
                           int32_t height, SurfaceId source, int32_t source_x, int32_t source_y,
                           RasterOp op) {
  if (source == SurfaceId::CleanScreen) {
    BlitFromCleanScreen(DeviceContext(destination), x, y, width, height, source_x, source_y, op);
    return;
  }
  if (source == SurfaceId::Master) {
    if (master_) {
      master_->BlitTo(DeviceContext(destination), x, y, width, height, source_x, source_y,
                      static_cast<DWORD>(op));
    }
    return;
  }
  ::BitBlt(DeviceContext(destination), x, y, width, height, DeviceContext(source), source_x,
           source_y, static_cast<DWORD>(op));
}

// What BitBlt would do with a black source of CleanScreen's size; the pixels are the ones a
// black bitmap would give.
void StageSurfaces::BlitFromCleanScreen(HDC destination, int32_t x, int32_t y, int32_t width,
                                        int32_t height, int32_t source_x, int32_t source_y,
                                        RasterOp op) {
  const std::optional<PixelRect> black =
      CleanScreenBlackFill(clean_screen_, x, y, width, height, source_x, source_y, op);
  if (black) PatBlt(destination, black->left, black->top, black->width, black->height, BLACKNESS);
}

void StageSurfaces::UnloadWorkSurfaces() {
  work_scr_.Free();
  clean_screen_ = {};
  master_ = nullptr;
}

}  // namespace fq::win32
