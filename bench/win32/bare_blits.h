// The frame step's block transfers with nothing around them: per sprite an erase (a black
// fill, as the platform erases from CleanScreen), a mask, an image and a present, straight to
// GDI on one stage's own device contexts (the saver window's, or a cover's on another monitor),
// at positions that drift and wrap like the sprites'. At a scale k every block is k times as
// large, as the scaled stage makes the frame step's. The yardstick the real frame step is held
// against.
#pragma once

#include <windows.h>

#include "bare_cells.h"
#include "stage_surfaces.h"

namespace fq::bench {

// Where the bare loop reads the sheet: the frames from the top of `frames`, the masks from row
// `masks_top` of `masks`, both in the sheet's scale.
struct SheetSource {
  HDC frames;
  HDC masks;
  int masks_top;
};

// The sheet the stage's own frame step reads.
SheetSource ProgramSheet(const win32::StageSurfaces& stage);

class BareBlits {
 public:
  // Starts from the sprites' current places; `count` sprites on a stage of `screen` of the
  // core's pixels, each shown as the stage's k by k physical ones.
  BareBlits(const win32::StageSurfaces& stage, const SpriteTable& sprites, int count,
            Extent screen);

  // One frame of 4 x count blits, the sheet drawn for the stage's scale read from `sheet`;
  // then every sprite moves on.
  void Frame(const SheetSource& sheet);

 private:
  HDC window_;
  HDC work_;
  BareCells cells_;
  int scale_;
};

}  // namespace fq::bench
