// The roles the animation needs (SaverWindow, OtherMonitors, Pacing, WorkSurfaces) on Xlib. The
// stage is a window of the hack's own, or one it is given (the root window, or one another
// program made), which it draws on and leaves alone otherwise. The root window and the own
// window, which cover the whole screen, are split by the monitors RandR lists: the saver
// window's part is the primary monitor's, and every other monitor is a stage of its own. A
// window another program made is one stage: XScreenSaver gives each monitor a window.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "monitor_layout.h"
#include "platform/other_monitors.h"
#include "platform/saver_window.h"
#include "platform/work_surfaces.h"
#include "ports/shared/forwarded_surfaces.h"
#include "ports/unix/embedded_sheets.h"
#include "ports/unix/pointer_input.h"
#include "ports/unix/unix_pacing.h"
#include "stage_surfaces.h"

namespace fq::x11 {

// The attributes of the window the hack draws on. From the first call on, X errors about that
// window are dropped rather than ending the process (its maker may destroy it at any time);
// a window that is not there throws Fault.
XWindowAttributes StageAttributes(Display& display, Window stage);

class X11Platform : public SaverWindow,
                    public OtherMonitors,
                    public UnixPacing,
                    public ForwardedSurfaces<X11Platform> {
 public:
  // `given`: the window to draw on, or None for a window of the platform's own. `scale`: k by
  // hand, or 0 for the rule of platform/screen_scale.h, applied to each monitor's size (to the
  // given window's, for a window another program made). `sheets`: the sprite sheet for each k.
  X11Platform(Display& display, Window given, int scale, SheetSource sheets = EmbeddedSheet);
  X11Platform(const X11Platform&) = delete;
  X11Platform& operator=(const X11Platform&) = delete;
  ~X11Platform() override;

  Display& display() { return display_; }
  // The saver window's k, chosen at start.
  int scale() const { return scale_; }
  // What a surface of the saver window's stage is drawn through: the stage window or a pixmap.
  // None while it does not exist, and always for CleanScreen.
  Drawable DrawableOf(SurfaceId surface) { return primary_->DrawableOf(surface); }

  // SaverWindow. Only the own window is shown, sized, raised, titled and given a cursor, and
  // only its input is read; of a given window the hack hears only that it was destroyed. The
  // saver window's size is the primary monitor's where the window is split.
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
  // OtherMonitors: what RandR lists, followed as its events announce changes.
  bool OtherMonitorsChanged() override { return others_changed_; }
  std::vector<MonitorArea> OtherMonitorAreas() override;
  WorkSurfaces& MonitorSurfaces(size_t index) override { return *monitor_surfaces_.at(index); }
  // Pacing: the pause and clock are UnixPacing's.
  void YieldToMessageLoop() override;
  // WorkSurfaces: the saver window's stage, once it is loaded.
  WorkSurfaces* SurfacesNow() { return primary_ ? &*primary_ : nullptr; }

 private:
  void Dispatch(const XEvent& event);
  // Asks RandR for the monitors' events, where it lists monitors (1.5 and later).
  void WatchMonitors();
  std::vector<ScreenMonitor> ReadMonitors();
  // The stages from the window's size and the monitors last read.
  void Relayout();

  Display& display_;
  const bool own_window_;
  // The root window or the own one: split by the monitors.
  const bool splits_;
  Window window_;
  const int chosen_scale_;
  int scale_ = 1;
  Canvas canvas_;
  SheetPixmaps sheets_;
  Atom delete_window_ = None;
  SaverEvents* events_ = nullptr;
  PointerCount pointer_count_;
  Cursor blank_cursor_ = None;
  // The saver window's size as last measured.
  Extent reported_size_{};
  Extent window_size_{};
  int randr_events_ = -1;  // RandR's first event code, while monitors are watched
  std::vector<ScreenMonitor> monitors_;
  StageLayout layout_;
  // An event said the window or the monitors changed: the yield lays the stages out again.
  bool layout_stale_ = false;
  bool others_changed_ = true;
  std::optional<StageSurfaces> primary_;
  // As last answered; a monitor that went meanwhile is released.
  std::vector<std::unique_ptr<StageSurfaces>> monitor_surfaces_;
};

}  // namespace fq::x11
