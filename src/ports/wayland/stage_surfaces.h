// The work surfaces of one output in memory, apart from the compositor: WorkScr a pixel array,
// Master the sheet drawn for the output's scale (read only), CleanScreen a size alone (it only
// ever holds black), and SaverWindow the frame being drawn, whose changes become its damage.
#pragma once

#include <functional>
#include <vector>

#include "pixel_view.h"
#include "resources/picture.h"

namespace fq::wayland {

class StageSurfaces : public WorkSurfaces {
 public:
  // `sheet` answers the sheet for the scale the output is drawn at now.
  StageSurfaces(Frame& window, std::function<const Picture&()> sheet)
      : window_(window), sheet_(std::move(sheet)) {}

  void LoadWorkSurfaces(const WorkFormDesign& design) override;
  void ResizeSurface(SurfaceId surface, Extent size) override;
  void BitBlt(SurfaceId destination, int32_t x, int32_t y, int32_t width, int32_t height,
              SurfaceId source, int32_t source_x, int32_t source_y, RasterOp op) override;
  void UnloadWorkSurfaces() override;

 private:
  PixelView View(SurfaceId surface);

  Frame& window_;
  std::function<const Picture&()> sheet_;
  bool loaded_ = false;
  std::vector<uint32_t> work_scr_;
  Extent work_scr_size_{};
  Extent clean_screen_{};
};

}  // namespace fq::wayland
