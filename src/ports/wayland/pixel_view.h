// Plain raster operations on 0x00RRGGBB memory, and the frame a stage draws its saver window
// into: shared-memory buffers in the program, plain memory in tests.
#pragma once

#include <cstdint>

#include "platform/saver_window.h"
#include "platform/work_surfaces.h"

namespace fq::wayland {

// Rows of `width` pixels one after the other.
struct PixelView {
  uint32_t* data = nullptr;
  int32_t width = 0;
  int32_t height = 0;
};

// Combines the block at (source_x, source_y) of `source` into `destination` at (x, y) with
// `op`; what falls outside either is dropped, as a block transfer clips.
void Blit(PixelView destination, int32_t x, int32_t y, int32_t width, int32_t height,
          PixelView source, int32_t source_x, int32_t source_y, RasterOp op);
// Black over `rect`, clipped to `destination`.
void FillBlack(PixelView destination, PixelRect rect);

// A frame being drawn: its pixels, up to date with every frame before it, and what changed.
class Frame {
 public:
  virtual PixelView Drawing() = 0;
  virtual void Damage(PixelRect rect) = 0;

 protected:
  ~Frame() = default;
};

}  // namespace fq::wayland
