#include "stage_surfaces.h"

#include <algorithm>

#include "base/fault.h"
#include "ports/shared/clean_screen.h"

namespace fq::wayland {

void StageSurfaces::LoadWorkSurfaces(const WorkFormDesign& design) {
  if (loaded_) return;
  ResizeSurface(SurfaceId::WorkScr, design.WorkScr);
  clean_screen_ = CheckedSurfaceSize(design.CleanScreen);
  loaded_ = true;
}

void StageSurfaces::ResizeSurface(SurfaceId surface, Extent size) {
  CheckedSurfaceSize(size);
  switch (surface) {
    case SurfaceId::WorkScr:
      work_scr_.assign(static_cast<size_t>(size.width) * size.height, 0);
      work_scr_size_ = size;
      return;
    case SurfaceId::CleanScreen: clean_screen_ = size; return;
    case SurfaceId::SaverWindow:
    case SurfaceId::Master: break;
  }
  throw Fault(FaultKind::PlatformFailure, "Only WorkScr and CleanScreen are sized as surfaces.");
}

PixelView StageSurfaces::View(SurfaceId surface) {
  switch (surface) {
    case SurfaceId::SaverWindow: return window_.Drawing();
    case SurfaceId::WorkScr: return {work_scr_.data(), work_scr_size_.width, work_scr_size_.height};
    case SurfaceId::Master: {
      // Read only: the core never draws into Master.
      const Picture& sheet = sheet_();
      return {const_cast<uint32_t*>(sheet.pixels.data()), sheet.width, sheet.height};
    }
    case SurfaceId::CleanScreen: break;
  }
  return {};
}

void StageSurfaces::BitBlt(SurfaceId destination, int32_t x, int32_t y, int32_t width,
                           int32_t height, SurfaceId source, int32_t source_x, int32_t source_y,
                           RasterOp op) {
  const PixelView target = View(destination);
  PixelRect changed{x, y, width, height};
  if (source == SurfaceId::CleanScreen) {
    const auto black =
        CleanScreenBlackFill(clean_screen_, x, y, width, height, source_x, source_y, op);
    if (!black) return;
    FillBlack(target, *black);
    changed = *black;
  } else {
    Blit(target, x, y, width, height, View(source), source_x, source_y, op);
  }
  if (destination != SurfaceId::SaverWindow) return;
  const int32_t left = std::max(changed.left, 0), top = std::max(changed.top, 0);
  const int32_t right = std::min(changed.left + changed.width, target.width);
  const int32_t bottom = std::min(changed.top + changed.height, target.height);
  if (right > left && bottom > top) window_.Damage({left, top, right - left, bottom - top});
}

void StageSurfaces::UnloadWorkSurfaces() {
  work_scr_ = {};
  work_scr_size_ = {};
  clean_screen_ = {};
  loaded_ = false;
}

}  // namespace fq::wayland
