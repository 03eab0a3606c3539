// The bare loop of the frame step's blits; see bare_blits.h.
#include "bare_blits.h"

#include "animation/sheet_layout.h"

namespace fq::bench {
namespace {

constexpr int kWingCycle[] = {0, 1, 2, 3, 2, 1};
constexpr int kStepsPerWingFrame = 6;
constexpr int kSpeedX = 3;
constexpr int kSpeedY = 1;

}  // namespace

BareBlits::BareBlits(win32::Win32Platform& platform, const SpriteTable& sprites, int count,
                     Extent screen)
    : window_(platform.DeviceContext(SurfaceId::SaverWindow)),
      work_(platform.DeviceContext(SurfaceId::WorkScr)),
      screen_(screen),
      count_(count) {
  for (int i = 0; i < count_; ++i) cells_[i] = {sprites[i].X, sprites[i].Y};
}

void BareBlits::Frame(HDC master) {
  constexpr int cell = kSheetCell;
  constexpr int block = kSheetDrawnBlock;
  for (int i = 0; i < count_; ++i) {
    PatBlt(work_, cells_[i].x, cells_[i].y, cell, cell, BLACKNESS);
  }
  const int column = kWingCycle[(steps_++ / kStepsPerWingFrame) % 6] * cell;
  for (int i = 0; i < count_; ++i) {
    Cell& sprite = cells_[i];
    sprite.x = sprite.x > screen_.width ? -cell / 2 : sprite.x + kSpeedX;
    sprite.y = sprite.y > screen_.height ? -cell / 2 : sprite.y + kSpeedY;
    ::BitBlt(work_, sprite.x, sprite.y, block, block, master, column, kSheetMaskRowY, SRCAND);
    ::BitBlt(work_, sprite.x, sprite.y, block, block, master, column, 0, SRCPAINT);
  }
  for (int i = 0; i < count_; ++i) {
    ::BitBlt(window_, cells_[i].x, cells_[i].y, cell, cell, work_, cells_[i].x, cells_[i].y,
             SRCCOPY);
  }
}

}  // namespace fq::bench
