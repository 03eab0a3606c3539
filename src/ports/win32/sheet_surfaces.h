// The sprite sheet as the frame step reads it, in two bitmaps: the row of frames in the screen's
// format, so that painting a frame converts nothing, and the row of masks in monochrome, a
// thirty-second of that size. On a 3840 by 2160 screen this keeps a megabyte off the saver's
// memory. A monochrome source reaches a colour surface as its device context's text colour
// for 0 and background colour for 1, black and white unless changed: the masks' own colours,
// so every block transfer gives the pixels one sheet in the screen's format would.
#pragma once

#include <windows.h>

#include "offscreen_surface.h"

namespace fq::win32 {

class SheetSurfaces {
 public:
  // Copies `sheet`, whose masks start at row `mask_top`, into the two bitmaps. Throws Fault
  // when the system refuses.
  void Load(HBITMAP sheet, int32_t mask_top);
  void Free();
  bool exists() const { return frames_.exists(); }

  // BitBlt from the sheet as one picture: the block's rows above `mask_top` come from the
  // frames, the others from the masks.
  void BlitTo(HDC destination, int32_t x, int32_t y, int32_t width, int32_t height,
              int32_t source_x, int32_t source_y, DWORD op) const;

  HDC frames() const { return frames_.dc(); }
  HDC masks() const { return masks_.dc(); }

 private:
  OffscreenSurface frames_;
  OffscreenSurface masks_;
  int32_t mask_top_ = 0;
};

}  // namespace fq::win32
