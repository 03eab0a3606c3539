// The bare loop of the frame step's blits; see bare_blits.h.
#include "bare_blits.h"

namespace fq::bench {

BareBlits::BareBlits(win32::Win32Platform& platform, const SpriteTable& sprites, int count,
                     Extent screen)
    : window_(platform.DeviceContext(SurfaceId::SaverWindow)),
      work_(platform.DeviceContext(SurfaceId::WorkScr)),
      cells_(sprites, count, screen) {}

void BareBlits::Frame(HDC master) {
  constexpr int cell = kSheetCell;
  constexpr int block = kSheetDrawnBlock;
  for (int i = 0; i < cells_.count(); ++i) {
    PatBlt(work_, cells_[i].x, cells_[i].y, cell, cell, BLACKNESS);
  }
  const int column = cells_.NextColumn();
  for (int i = 0; i < cells_.count(); ++i) {
    const Cell& sprite = cells_.Move(i);
    ::BitBlt(work_, sprite.x, sprite.y, block, block, master, column, kSheetMaskRowY, SRCAND);
    ::BitBlt(work_, sprite.x, sprite.y, block, block, master, column, 0, SRCPAINT);
  }
  for (int i = 0; i < cells_.count(); ++i) {
    ::BitBlt(window_, cells_[i].x, cells_[i].y, cell, cell, work_, cells_[i].x, cells_[i].y,
             SRCCOPY);
  }
}

}  // namespace fq::bench
