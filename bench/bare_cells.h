// Where the bare loops of the benchmarks draw: cells that start at the scene's sprites and then
// drift, flap and wrap like them, computed without the seam. Shared by the Win32 and X11 loops.
#pragma once

#include <array>

#include "animation/sheet_layout.h"
#include "animation/sprite_table.h"
#include "platform/saver_window.h"

namespace fq::bench {

struct Cell {
  int x;
  int y;
};

class BareCells {
 public:
  // Starts from the sprites' current places; `count` sprites on a screen of `screen` pixels.
  BareCells(const SpriteTable& sprites, int count, Extent screen) : screen_(screen), count_(count) {
    for (int i = 0; i < count_; ++i) cells_[i] = {sprites[i].X, sprites[i].Y};
  }

  int count() const { return count_; }
  const Cell& operator[](int i) const { return cells_[i]; }

  // The sheet column of the wing frame for the next frame.
  int NextColumn() { return kWingCycle[(steps_++ / kStepsPerWingFrame) % 6] * kSheetCell; }

  // Moves cell `i` on by one step and returns it.
  const Cell& Move(int i) {
    Cell& cell = cells_[i];
    cell.x = cell.x > screen_.width ? -kSheetCell / 2 : cell.x + kSpeedX;
    cell.y = cell.y > screen_.height ? -kSheetCell / 2 : cell.y + kSpeedY;
    return cell;
  }

 private:
  static constexpr int kWingCycle[] = {0, 1, 2, 3, 2, 1};
  static constexpr int kStepsPerWingFrame = 6;
  static constexpr int kSpeedX = 3;
  static constexpr int kSpeedY = 1;

  Extent screen_;
  int count_;
  int steps_ = 0;
  std::array<Cell, kSpriteTableSize> cells_{};
};

}  // namespace fq::bench
