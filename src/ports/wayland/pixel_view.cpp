#include "pixel_view.h"

#include <algorithm>
#include <cstring>

namespace fq::wayland {
namespace {

// The part of the block inside both surfaces, with where it starts in each.
struct Clipped {
  int32_t x, y, source_x, source_y, width, height;
};

Clipped Clip(PixelView destination, int32_t x, int32_t y, int32_t width, int32_t height,
             PixelView source, int32_t source_x, int32_t source_y) {
  const int32_t left = std::max({0, -x, -source_x});
  const int32_t top = std::max({0, -y, -source_y});
  const int32_t right = std::min({width, destination.width - x, source.width - source_x});
  const int32_t bottom = std::min({height, destination.height - y, source.height - source_y});
  return {x + left, y + top, source_x + left, source_y + top, right - left, bottom - top};
}

}  // namespace

void Blit(PixelView destination, int32_t x, int32_t y, int32_t width, int32_t height,
          PixelView source, int32_t source_x, int32_t source_y, RasterOp op) {
  const Clipped c = Clip(destination, x, y, width, height, source, source_x, source_y);
  if (c.width <= 0 || c.height <= 0) return;
  for (int32_t row = 0; row < c.height; ++row) {
    uint32_t* d = destination.data + static_cast<size_t>(c.y + row) * destination.width + c.x;
    const uint32_t* s = source.data + static_cast<size_t>(c.source_y + row) * source.width +
                        c.source_x;
    switch (op) {
      case RasterOp::SrcCopy: std::memmove(d, s, sizeof(uint32_t) * c.width); break;
      case RasterOp::SrcAnd: for (int32_t i = 0; i < c.width; ++i) d[i] &= s[i]; break;
      case RasterOp::SrcPaint: for (int32_t i = 0; i < c.width; ++i) d[i] |= s[i]; break;
    }
  }
}

void FillBlack(PixelView destination, PixelRect rect) {
  const Clipped c = Clip(destination, rect.left, rect.top, rect.width, rect.height, destination,
                         rect.left, rect.top);
  for (int32_t row = 0; row < c.height; ++row) {
    std::memset(destination.data + static_cast<size_t>(c.y + row) * destination.width + c.x, 0,
                sizeof(uint32_t) * std::max(c.width, 0));
  }
}

}  // namespace fq::wayland
