#include "ports/shared/clean_screen.h"

#include <algorithm>
#include <string>

#include "base/fault.h"

namespace fq {

Extent CheckedSurfaceSize(Extent size) {
  if (size.width < 1 || size.height < 1) {
    throw Fault(FaultKind::PlatformFailure, "A surface cannot be " + std::to_string(size.width) +
                                                " by " + std::to_string(size.height) + " pixels.");
  }
  return size;
}

std::optional<PixelRect> CleanScreenBlackFill(Extent clean_screen, int32_t x, int32_t y,
                                              int32_t width, int32_t height, int32_t source_x,
                                              int32_t source_y, RasterOp op) {
  switch (op) {
    case RasterOp::SrcPaint:
      return std::nullopt;
    case RasterOp::SrcCopy:
    case RasterOp::SrcAnd: {
      const int32_t left = std::max(source_x, 0);
      const int32_t top = std::max(source_y, 0);
      const int32_t right = std::min(source_x + width, clean_screen.width);
      const int32_t bottom = std::min(source_y + height, clean_screen.height);
      if (left >= right || top >= bottom) return std::nullopt;
      return PixelRect{x + left - source_x, y + top - source_y, right - left, bottom - top};
    }
  }
  throw Fault(FaultKind::PlatformFailure,
              "A copy from CleanScreen with the raster operation " +
                  std::to_string(static_cast<uint32_t>(op)) + " cannot be drawn.");
}

}  // namespace fq
