// The sheet is turned into the server's pixel format once per scale; no copy of a frame
// converts a pixel. CleanScreen has no pixmap: a copy from it is a black fill.
#include "stage_surfaces.h"

#include <X11/Xutil.h>

#include <cstdlib>

#include "base/fault.h"
#include "ports/shared/clean_screen.h"

namespace fq::x11 {
namespace {

int GcFunction(RasterOp op) {
  switch (op) {
    case RasterOp::SrcAnd: return GXand;
    case RasterOp::SrcPaint: return GXor;
    case RasterOp::SrcCopy: break;
  }
  return GXcopy;
}

// Without graphics exposures: else every copy would queue a NoExpose event.
GC NewGc(const Canvas& canvas) {
  XGCValues values{};
  values.graphics_exposures = False;
  return XCreateGC(canvas.display, canvas.window, GCGraphicsExposures, &values);
}

void FillBlack(Display* display, Drawable drawable, GC gc, const PixelRect& area) {
  XSetFunction(display, gc, GXcopy);
  XSetForeground(display, gc, 0);
  XFillRectangle(display, drawable, gc, area.left, area.top, static_cast<unsigned>(area.width),
                 static_cast<unsigned>(area.height));
}

Pixmap NewBlackPixmap(const Canvas& canvas, GC gc, Extent size) {
  CheckedSurfaceSize(size);
  const Pixmap pixmap =
      XCreatePixmap(canvas.display, canvas.window, size.width, size.height, canvas.depth);
  FillBlack(canvas.display, pixmap, gc, {0, 0, size.width, size.height});
  return pixmap;
}

}  // namespace

std::shared_ptr<const Pixmap> SheetPixmaps::For(const Canvas& canvas, GC gc, int scale) {
  if (auto made = made_[scale].lock()) return made;
  const Picture sheet = source_(scale);
  // Xlib lays the pixels out in whatever form the server wants for this depth.
  XImage* image = XCreateImage(canvas.display, canvas.visual, canvas.depth, ZPixmap, 0, nullptr,
                               sheet.width, sheet.height, 32, 0);
  if (image) {
    image->data = static_cast<char*>(
        std::malloc(static_cast<size_t>(image->bytes_per_line) * sheet.height));
  }
  if (!image || !image->data) {
    if (image) XDestroyImage(image);
    throw Fault(FaultKind::PlatformFailure, "The sprite sheet could not be converted.");
  }
  for (int32_t y = 0; y < sheet.height; ++y) {
    for (int32_t x = 0; x < sheet.width; ++x) {
      XPutPixel(image, x, y, sheet.pixels[static_cast<size_t>(y) * sheet.width + x]);
    }
  }
  Display* display = canvas.display;
  auto pixmap = std::shared_ptr<const Pixmap>(
      new Pixmap(NewBlackPixmap(canvas, gc, {sheet.width, sheet.height})),
      [display](const Pixmap* freed) {
        XFreePixmap(display, *freed);
        delete freed;
      });
  XPutImage(display, *pixmap, gc, image, 0, 0, 0, 0, sheet.width, sheet.height);
  XDestroyImage(image);
  made_[scale] = pixmap;
  return pixmap;
}

StageSurfaces::StageSurfaces(const Canvas& canvas, SheetPixmaps& sheets, int scale,
                             const PixelRect& area)
    : canvas_(canvas), sheets_(sheets), scale_(scale), gc_(NewGc(canvas)),
      window_gc_(NewGc(canvas)) {
  Place(area);
}

StageSurfaces::~StageSurfaces() {
  FreePixmaps();
  XFreeGC(canvas_.display, gc_);
  XFreeGC(canvas_.display, window_gc_);
}

void StageSurfaces::Place(const PixelRect& area) {
  area_ = area;
  XRectangle clip{static_cast<short>(area.left), static_cast<short>(area.top),
                  static_cast<unsigned short>(area.width),
                  static_cast<unsigned short>(area.height)};
  XSetClipRectangles(canvas_.display, window_gc_, 0, 0, &clip, 1, YXBanded);
}

void StageSurfaces::PaintBlack() {
  if (!released_) FillBlack(canvas_.display, canvas_.window, window_gc_, area_);
}

void StageSurfaces::Release() {
  FreePixmaps();
  released_ = true;
}

Pixmap StageSurfaces::BlackPixmap(Extent size) { return NewBlackPixmap(canvas_, gc_, size); }

void StageSurfaces::LoadWorkSurfaces(const WorkFormDesign& design) {
  if (master_ || released_) return;
  master_ = sheets_.For(canvas_, gc_, scale_);
  work_scr_ = BlackPixmap(design.WorkScr);
  clean_screen_ = CheckedSurfaceSize(design.CleanScreen);
}

Drawable StageSurfaces::DrawableOf(SurfaceId surface) const {
  switch (surface) {
    case SurfaceId::SaverWindow: return canvas_.window;
    case SurfaceId::WorkScr: return work_scr_;
    case SurfaceId::Master: return master_ ? *master_ : None;
    case SurfaceId::CleanScreen: break;
  }
  return None;
}

void StageSurfaces::ResizeSurface(SurfaceId surface, Extent size) {
  if (released_) return;
  if (surface == SurfaceId::CleanScreen) {
    clean_screen_ = CheckedSurfaceSize(size);
    return;
  }
  if (surface != SurfaceId::WorkScr) {
    throw Fault(FaultKind::PlatformFailure, "Only WorkScr and CleanScreen can be resized.");
  }
  const Pixmap resized = BlackPixmap(size);
  if (work_scr_ != None) XFreePixmap(canvas_.display, work_scr_);
  work_scr_ = resized;
}

void StageSurfaces::BitBlt(SurfaceId destination, int32_t x, int32_t y, int32_t width,
                           int32_t height, SurfaceId source, int32_t source_x, int32_t source_y,
                           RasterOp op) {
  if (released_) return;
  const bool onto_window = destination == SurfaceId::SaverWindow;
  GC gc = onto_window ? window_gc_ : gc_;
  if (onto_window) x += area_.left, y += area_.top;
  if (source == SurfaceId::CleanScreen) {
    const std::optional<PixelRect> black = CleanScreenBlackFill(
        clean_screen_, x, y, width, height, source_x, source_y, op);
    if (black) FillBlack(canvas_.display, DrawableOf(destination), gc, *black);
    return;
  }
  XSetFunction(canvas_.display, gc, GcFunction(op));
  XCopyArea(canvas_.display, DrawableOf(source), DrawableOf(destination), gc, source_x, source_y,
            static_cast<unsigned>(width), static_cast<unsigned>(height), x, y);
}

void StageSurfaces::FreePixmaps() {
  if (work_scr_ != None) XFreePixmap(canvas_.display, work_scr_);
  work_scr_ = None;
  master_.reset();
  clean_screen_ = {};
}

}  // namespace fq::x11
