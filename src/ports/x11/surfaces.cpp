// The work surfaces on X11: pixmaps on the server in the stage window's depth, and the block
// transfers between them and the window. The sheet is turned into the server's pixel format
// once, at load; no copy of a frame converts a pixel. CleanScreen has no pixmap: a copy from
// it is a black fill.
#include <X11/Xutil.h>

#include <cstdlib>
#include <string>

#include "platform/clean_screen.h"
#include "platform/fault.h"
#include "x11_platform.h"

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

}  // namespace

Pixmap* X11Platform::PixmapOf(SurfaceId surface) {
  switch (surface) {
    case SurfaceId::WorkScr: return &work_scr_;
    case SurfaceId::Master: return &master_;
    case SurfaceId::CleanScreen:
    case SurfaceId::SaverWindow: break;
  }
  return nullptr;
}

Pixmap X11Platform::BlackPixmap(Extent size) {
  CheckedSurfaceSize(size);
  const Pixmap pixmap = XCreatePixmap(&display_, window_, size.width, size.height, depth_);
  XSetFunction(&display_, gc_, GXcopy);
  XSetForeground(&display_, gc_, 0);
  XFillRectangle(&display_, pixmap, gc_, 0, 0, size.width, size.height);
  return pixmap;
}

void X11Platform::LoadWorkSurfaces(const WorkFormDesign& design) {
  if (master_ != None) return;
  master_ = BlackPixmap({sheet_.width, sheet_.height});
  // Xlib lays the pixels out in whatever form the server wants for this depth.
  XImage* image = XCreateImage(&display_, visual_, depth_, ZPixmap, 0, nullptr, sheet_.width,
                               sheet_.height, 32, 0);
  if (image) {
    image->data = static_cast<char*>(
        std::malloc(static_cast<size_t>(image->bytes_per_line) * sheet_.height));
  }
  if (!image || !image->data) {
    if (image) XDestroyImage(image);
    throw Fault(FaultKind::PlatformFailure, "The sprite sheet could not be converted.");
  }
  for (int32_t y = 0; y < sheet_.height; ++y) {
    for (int32_t x = 0; x < sheet_.width; ++x) {
      XPutPixel(image, x, y, sheet_.pixels[static_cast<size_t>(y) * sheet_.width + x]);
    }
  }
  XPutImage(&display_, master_, gc_, image, 0, 0, 0, 0, sheet_.width, sheet_.height);
  XDestroyImage(image);
  work_scr_ = BlackPixmap(design.WorkScr);
  clean_screen_ = CheckedSurfaceSize(design.CleanScreen);
}

Drawable X11Platform::DrawableOf(SurfaceId surface) {
  if (surface == SurfaceId::SaverWindow) return window_;
  const Pixmap* pixmap = PixmapOf(surface);
  return pixmap ? *pixmap : None;
}

void X11Platform::ResizeSurface(SurfaceId surface, Extent size) {
  if (surface == SurfaceId::CleanScreen) {
    clean_screen_ = CheckedSurfaceSize(size);
    return;
  }
  Pixmap* target = PixmapOf(surface);
  if (!target) {
    throw Fault(FaultKind::PlatformFailure,
                "The saver window is sized as a window, not as a surface.");
  }
  const Pixmap resized = BlackPixmap(size);
  if (*target != None) XFreePixmap(&display_, *target);
  *target = resized;
}

void X11Platform::BitBlt(SurfaceId destination, int32_t x, int32_t y, int32_t width,
                         int32_t height, SurfaceId source, int32_t source_x, int32_t source_y,
                         RasterOp op) {
  if (source == SurfaceId::CleanScreen) {
    const std::optional<PixelRect> black = CleanScreenBlackFill(
        clean_screen_, x, y, width, height, source_x, source_y, op);
    if (!black) return;
    XSetFunction(&display_, gc_, GXcopy);
    XSetForeground(&display_, gc_, 0);
    XFillRectangle(&display_, DrawableOf(destination), gc_, black->left, black->top,
                   static_cast<unsigned>(black->width), static_cast<unsigned>(black->height));
    return;
  }
  XSetFunction(&display_, gc_, GcFunction(op));
  XCopyArea(&display_, DrawableOf(source), DrawableOf(destination), gc_, source_x, source_y,
            static_cast<unsigned>(width), static_cast<unsigned>(height), x, y);
}

void X11Platform::UnloadWorkSurfaces() { FreePixmaps(); }

void X11Platform::FreePixmaps() {
  for (Pixmap* pixmap : {&work_scr_, &master_}) {
    if (*pixmap != None) XFreePixmap(&display_, *pixmap);
    *pixmap = None;
  }
  clean_screen_ = {};
}

}  // namespace fq::x11
