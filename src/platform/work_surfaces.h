// The hidden work form `frmWork`: off-screen surfaces with bitmaps of their own, and the block
// transfers `BitBlt` between them and the saver window, in which the frame step is written.
#pragma once

#include <cstdint>

#include "platform/saver_window.h"

namespace fq {

// Block-transfer raster operations, per pixel and per bit: S, D AND S, D OR S.
enum class RasterOp : uint32_t {
  SrcCopy = 0x00CC0020,
  SrcAnd = 0x008800C6,
  SrcPaint = 0x00EE0086,
};

// Drawing targets: the saver window's client area and the three off-screen surfaces.
enum class SurfaceId { SaverWindow, WorkScr, CleanScreen, Master };

// The sizes the two blank surfaces have before scene set-up sizes them.
struct WorkFormDesign {
  Extent WorkScr;
  Extent CleanScreen;
};

class WorkSurfaces {
 public:
  virtual ~WorkSurfaces() = default;

  // Creates the surfaces unless they exist: Master holding the sprite sheet with its top-left
  // pixel at 0, 0; WorkScr and CleanScreen black at their design sizes. Throws Fault when the
  // system refuses. The core never draws into CleanScreen or Master, only copies from them: a
  // port may keep CleanScreen as a size alone and fill with black where a blit reads it, and
  // Master in parts, each row of the sheet in a format of its own.
  virtual void LoadWorkSurfaces(const WorkFormDesign& design) = 0;
  // New size in pixels; the surface is black afterwards. Throws Fault when refused.
  virtual void ResizeSurface(SurfaceId surface, Extent size) = 0;
  // Combines the width-by-height block at (source_x, source_y) of `source` into `destination`
  // at (x, y) with `op`. What falls outside the destination is dropped. Nothing is reported.
  virtual void BitBlt(SurfaceId destination, int32_t x, int32_t y, int32_t width, int32_t height,
                      SurfaceId source, int32_t source_x, int32_t source_y, RasterOp op) = 0;
  // Discards the surfaces; nothing happens when they do not exist.
  virtual void UnloadWorkSurfaces() = 0;
};

}  // namespace fq
