// The roles the animation needs (SaverWindow, Pacing, WorkSurfaces) on Xlib. The surfaces are
// server pixmaps and BitBlt is XCopyArea with GXcopy, GXand or GXor; on a 24-bit TrueColor
// visual a pixel is 0x00RRGGBB, so these give the Windows build's bitwise results. The stage is
// a window of the hack's own, or one it is given (the root window, or one another program made),
// which it draws on and leaves alone otherwise.
#pragma once

#include "platform/picture.h"
#include "platform/other_monitors.h"
#include "platform/pacing.h"
#include "platform/saver_window.h"
#include "platform/work_surfaces.h"

// After the core's headers: Xlib defines None as a macro, which a core enum also names.
#include <X11/Xlib.h>

namespace fq::x11 {

// The attributes of the window the hack draws on. From the first call on, X errors about that
// window are dropped rather than ending the process (its maker may destroy it at any time);
// a window that is not there throws Fault.
XWindowAttributes StageAttributes(Display& display, Window stage);

class X11Platform : public SaverWindow, public OtherMonitors, public Pacing, public WorkSurfaces {
 public:
  // `given`: the window to draw on, or None for a window of the platform's own. `sheet`
  // becomes the Master surface.
  X11Platform(Display& display, Window given, Picture sheet);
  X11Platform(const X11Platform&) = delete;
  X11Platform& operator=(const X11Platform&) = delete;
  ~X11Platform() override;

  Display& display() { return display_; }
  // What a surface is drawn through: the stage window or a pixmap. None while it does not
  // exist, and always for CleanScreen.
  Drawable DrawableOf(SurfaceId surface);

  // SaverWindow. Only the own window is shown, sized, raised, titled and given a cursor, and
  // only its input is read; of a given window the hack hears only that it was destroyed.
  Extent PrimaryScreenSize() override;
  void LoadSaverWindow(const WindowDesign& design, SaverEvents& events) override;
  void SetSaverTitle(std::string_view title) override;
  void SetSaverOuterSize(Extent size) override;
  Extent SaverOuterSize() override;
  // Borderless: the client area is the whole window.
  Extent SaverClientSize() override { return reported_size_ = SaverOuterSize(); }
  bool SaverResized() override;
  void ShowSaver() override;
  void MaximiseSaver() override;
  void RepaintSaver() override;
  void MakeSaverTopmost() override;
  int32_t ChangePointerCount(bool show) override;
  // OtherMonitors: none beyond the stage.
  bool OtherMonitorsChanged() override { return !monitors_asked_; }
  std::vector<MonitorArea> OtherMonitorAreas() override {
    monitors_asked_ = true;
    return {};
  }
  WorkSurfaces& MonitorSurfaces(size_t) override { return *this; }
  // Pacing
  void YieldToMessageLoop() override;
  void Pause(int32_t milliseconds) override;
  float SecondsSinceMidnight() override;
  // WorkSurfaces
  void LoadWorkSurfaces(const WorkFormDesign& design) override;
  void ResizeSurface(SurfaceId surface, Extent size) override;
  void BitBlt(SurfaceId destination, int32_t x, int32_t y, int32_t width, int32_t height,
              SurfaceId source, int32_t source_x, int32_t source_y, RasterOp op) override;
  void UnloadWorkSurfaces() override;

 private:
  void Dispatch(const XEvent& event);
  Pixmap* PixmapOf(SurfaceId surface);
  Pixmap BlackPixmap(Extent size);
  void FreePixmaps();

  Display& display_;
  Picture sheet_;
  const bool own_window_;
  Window window_;
  Visual* visual_ = nullptr;
  int depth_ = 0;
  GC gc_ = nullptr;
  Atom delete_window_ = None;
  SaverEvents* events_ = nullptr;
  int32_t cursor_count_ = 0;
  // The stage's size as last measured, and as its last ConfigureNotify gave it.
  Extent reported_size_{};
  Extent configured_size_{};
  Cursor blank_cursor_ = None;
  Pixmap work_scr_ = None;
  // Black and never drawn into (platform/work_surfaces.h): a screen-sized pixmap would hold
  // nothing but its size.
  Extent clean_screen_{};
  Pixmap master_ = None;
  bool monitors_asked_ = false;
};

}  // namespace fq::x11
