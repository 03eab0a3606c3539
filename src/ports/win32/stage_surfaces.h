// One stage's surfaces on Win32: the window it is shown in (the saver window, or the cover of
// another monitor), drawn on through the window's own device context; WorkScr, an off-screen
// bitmap in the screen's format; CleanScreen, a size alone, since it is black and never drawn
// into (a bitmap would cost as much memory as WorkScr, a screenful); and Master, the sheet for
// the stage's scale, which stages of the same scale share.
#pragma once

#include <windows.h>

#include <array>

#include "offscreen_surface.h"
#include "platform/screen_scale.h"
#include "platform/work_surfaces.h"
#include "sheet_surfaces.h"

namespace fq::win32 {

// The sprite sheets drawn for each scale, loaded when a stage of that scale first needs one.
class SpriteSheets {
 public:
  explicit SpriteSheets(HINSTANCE instance) : instance_(instance) {}
  // Throws Fault when the sheet cannot be loaded.
  const SheetSurfaces& ForScale(int scale);

 private:
  HINSTANCE instance_;
  std::array<SheetSurfaces, kMaxScale> sheets_;
};

class StageSurfaces : public WorkSurfaces {
 public:
  StageSurfaces(SpriteSheets& sheets, int scale) : sheets_(sheets), scale_(scale) {}

  // The window's device context, which lives as long as the window (CS_OWNDC).
  void DrawOn(HDC window) { window_dc_ = window; }
  // Null while the surface does not exist, and always for CleanScreen and Master.
  HDC DeviceContext(SurfaceId surface) const;
  // Null until the surfaces are loaded.
  const SheetSurfaces* Sheet() const { return master_; }
  int scale() const { return scale_; }

  void LoadWorkSurfaces(const WorkFormDesign& design) override;
  void ResizeSurface(SurfaceId surface, Extent size) override;
  void BitBlt(SurfaceId destination, int32_t x, int32_t y, int32_t width, int32_t height,
              SurfaceId source, int32_t source_x, int32_t source_y, RasterOp op) override;
  // Frees WorkScr; the sheet stays for other stages of the scale.
  void UnloadWorkSurfaces() override;

 private:
  void BlitFromCleanScreen(HDC destination, int32_t x, int32_t y, int32_t width, int32_t height,
                           int32_t source_x, int32_t source_y, RasterOp op);

  SpriteSheets& sheets_;
  const int scale_;
  HDC window_dc_ = nullptr;
  OffscreenSurface work_scr_;
  Extent clean_screen_{};
  const SheetSurfaces* master_ = nullptr;
};

}  // namespace fq::win32
