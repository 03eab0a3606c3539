// One stage's work surfaces on X11: the saver window's, or another monitor's. WorkScr is a
// server pixmap in the window's depth, CleanScreen a size alone, Master the pixmap of the sheet
// drawn for the stage's k, shared by every stage of that k. BitBlt is XCopyArea with GXcopy,
// GXand or GXor; on a 24-bit TrueColor visual a pixel is 0x00RRGGBB, so these give the Windows
// build's bitwise results. The stage's SaverWindow is its part of the window it shows on.
#pragma once

#include <functional>
#include <map>
#include <memory>

#include "resources/picture.h"
#include "platform/saver_window.h"
#include "platform/work_surfaces.h"

// After the core's headers: Xlib defines None as a macro, which a core enum also names.
#include <X11/Xlib.h>

namespace fq::x11 {

// The window every stage draws on, and what its pixels are.
struct Canvas {
  Display* display = nullptr;
  Window window = None;
  Visual* visual = nullptr;
  int depth = 0;
};

// The sprite sheet drawn for a scale (ports/unix/embedded_sheets.h: EmbeddedSheet).
using SheetSource = std::function<Picture(int scale)>;

// The sheets on the server, one pixmap per scale: made when the first stage of that scale
// loads its surfaces, freed with the last.
class SheetPixmaps {
 public:
  explicit SheetPixmaps(SheetSource source) : source_(std::move(source)) {}
  std::shared_ptr<const Pixmap> For(const Canvas& canvas, GC gc, int scale);

 private:
  SheetSource source_;
  std::map<int, std::weak_ptr<const Pixmap>> made_;
};

class StageSurfaces : public WorkSurfaces {
 public:
  // `area`: the stage's part of the canvas's window.
  StageSurfaces(const Canvas& canvas, SheetPixmaps& sheets, int scale, const PixelRect& area);
  StageSurfaces(const StageSurfaces&) = delete;
  StageSurfaces& operator=(const StageSurfaces&) = delete;
  ~StageSurfaces() override;

  int scale() const { return scale_; }
  const PixelRect& area() const { return area_; }
  // Blits onto the window land at the area's corner and never outside it, so that no stage
  // draws on its neighbour.
  void Place(const PixelRect& area);
  void PaintBlack();
  // The stage's monitor went: its pixmaps are freed, and nothing it is asked to draw is drawn.
  void Release();
  bool released() const { return released_; }
  // What a surface is drawn through: the window or a pixmap. None while it does not exist, and
  // always for CleanScreen.
  Drawable DrawableOf(SurfaceId surface) const;

  void LoadWorkSurfaces(const WorkFormDesign& design) override;
  void ResizeSurface(SurfaceId surface, Extent size) override;
  void BitBlt(SurfaceId destination, int32_t x, int32_t y, int32_t width, int32_t height,
              SurfaceId source, int32_t source_x, int32_t source_y, RasterOp op) override;
  void UnloadWorkSurfaces() override { FreePixmaps(); }

 private:
  Pixmap BlackPixmap(Extent size);
  void FreePixmaps();

  const Canvas canvas_;
  SheetPixmaps& sheets_;
  const int scale_;
  PixelRect area_;
  // Pixmaps are drawn through gc_, the window through window_gc_, which clips to the area.
  GC gc_ = nullptr;
  GC window_gc_ = nullptr;
  Pixmap work_scr_ = None;
  // Black and never drawn into (platform/work_surfaces.h): a screen-sized pixmap would hold
  // nothing but its size.
  Extent clean_screen_{};
  std::shared_ptr<const Pixmap> master_;
  bool released_ = false;
};

}  // namespace fq::x11
