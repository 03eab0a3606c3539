// CleanScreen kept as a size alone (platform/work_surfaces.h): the size check it passes like
// every surface, and what a block transfer from it does, so that a port draws it as one black
// fill. Plain C++, shared by every port.
#pragma once

#include <optional>

#include "platform/saver_window.h"
#include "platform/work_surfaces.h"

namespace fq {

// `size` when a surface can have it (at least a pixel each way); throws Fault otherwise.
Extent CheckedSurfaceSize(Extent size);

// The part of the destination that a BitBlt from a black surface of `clean_screen`'s size turns
// black, or nothing when it changes nothing. Only the part of the block that lies inside the
// source is drawn, as GDI and X draw; there S is 0, so a copy or an AND leaves black and an OR
// leaves the destination as it was. The rectangle may reach outside the destination, which
// clips it as it clips a blit. Throws Fault for any other operation: a fill would draw it wrong.
std::optional<PixelRect> CleanScreenBlackFill(Extent clean_screen, int32_t x, int32_t y,
                                              int32_t width, int32_t height, int32_t source_x,
                                              int32_t source_y, RasterOp op);

}  // namespace fq
