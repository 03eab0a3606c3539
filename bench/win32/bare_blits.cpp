// The bare loop of the frame step's blits; see bare_blits.h.
#include "bare_blits.h"

namespace fq::bench {

SheetSource ProgramSheet(const win32::StageSurfaces& stage) {
  return {stage.Sheet()->frames(), stage.Sheet()->masks(), 0};
}

BareBlits::BareBlits(const win32::StageSurfaces& stage, const SpriteTable& sprites, int count,
                     Extent screen)
    : window_(stage.DeviceContext(SurfaceId::SaverWindow)),
      work_(stage.DeviceContext(SurfaceId::WorkScr)),
      cells_(sprites, count, screen),
      scale_(stage.scale()) {}

void BareBlits::Frame(const SheetSource& sheet) {
  const int k = scale_;
  const int cell = kSheetCell * k;
  const int block = kSheetDrawnBlock * k;
  for (int i = 0; i < cells_.count(); ++i) {
    PatBlt(work_, cells_[i].x * k, cells_[i].y * k, cell, cell, BLACKNESS);
  }
  const int column = cells_.NextColumn() * k;
  for (int i = 0; i < cells_.count(); ++i) {
    const Cell& sprite = cells_.Move(i);
    ::BitBlt(work_, sprite.x * k, sprite.y * k, block, block, sheet.masks, column,
             sheet.masks_top, SRCAND);
    ::BitBlt(work_, sprite.x * k, sprite.y * k, block, block, sheet.frames, column, 0, SRCPAINT);
  }
  for (int i = 0; i < cells_.count(); ++i) {
    const int x = cells_[i].x * k;
    const int y = cells_[i].y * k;
    ::BitBlt(window_, x, y, cell, cell, work_, x, y, SRCCOPY);
  }
}

}  // namespace fq::bench
