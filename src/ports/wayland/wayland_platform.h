// The roles the animation needs (SaverWindow, OtherMonitors, Pacing, WorkSurfaces) on a Wayland
// compositor with the layer shell or xdg-shell (cover_shell.h). Every output gets a covering
// stage (monitor_stage.h); the first one shown is the saver window's, the rest are the other monitors. Input from the seat
// reaches SaverEvents in a pointer space of the port's own: the outputs side by side in their
// physical pixels, in the order they came, so that each point names one output and its scale.
// A move that enters another output only sets the pointer's resting point: the compositor
// reports no move between outputs. Each part has a file of its own: the connection and its
// globals, the saver window, the monitors, the seat's input, the yield.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

#include "monitor_stage.h"
#include "platform/other_monitors.h"
#include "platform/saver_window.h"
#include "ports/shared/forwarded_surfaces.h"
#include "ports/unix/pointer_input.h"
#include "ports/unix/unix_pacing.h"

struct wl_keyboard;
struct wl_pointer;
struct wl_registry;
struct wl_seat;

namespace fq::wayland {

// What the session lacks for the saver to run; its text says what.
class MissingCompositor : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
inline constexpr const char* kNoCompositor =
    "no Wayland compositor answers ($WAYLAND_DISPLAY names none, or nothing listens there).\n"
    "In an X11 session, use the XScreenSaver hack flyingquorlin instead.";
inline constexpr const char* kNoCoverShell =
    "the compositor offers neither the layer shell (zwlr_layer_shell_v1) nor xdg_wm_base, one "
    "of which the saver needs to cover the outputs.";

class WaylandPlatform : public SaverWindow,
                        public OtherMonitors,
                        public UnixPacing,
                        public ForwardedSurfaces<WaylandPlatform> {
 public:
  // Connects to the compositor of $WAYLAND_DISPLAY and covers every output, returning once
  // each is shown. `forced_scale`: 1 to kMaxScale by hand, or 0 for each output's own.
  // Throws MissingCompositor without a compositor or a shell to cover with, Fault on other
  // failures.
  explicit WaylandPlatform(int forced_scale);
  WaylandPlatform(const WaylandPlatform&) = delete;
  WaylandPlatform& operator=(const WaylandPlatform&) = delete;
  ~WaylandPlatform() override;

  // The primary output's scale, fixed for the run.
  int scale() const { return primary_scale_; }
  // The stages shown now, the primary first.
  std::vector<MonitorStage*> Shown() const;

  // SaverWindow: the primary output's stage, sized by the compositor alone.
  Extent PrimaryScreenSize() override;
  void LoadSaverWindow(const WindowDesign& design, SaverEvents& events) override;
  void SetSaverTitle(std::string_view) override {}
  void SetSaverOuterSize(Extent) override {}
  Extent SaverOuterSize() override { return PrimaryScreenSize(); }
  Extent SaverClientSize() override;
  bool SaverResized() override;
  void ShowSaver() override {}
  void MaximiseSaver() override {}
  void RepaintSaver() override;
  void MakeSaverTopmost() override {}
  int32_t ChangePointerCount(bool show) override;
  // OtherMonitors
  bool OtherMonitorsChanged() override { return monitors_changed_; }
  std::vector<MonitorArea> OtherMonitorAreas() override;
  WorkSurfaces& MonitorSurfaces(size_t index) override { return *answered_.at(index); }
  // Pacing: the yield presents every output's frame, handles the pending events and replaces a
  // lost primary; the pause and clock are UnixPacing's.
  void YieldToMessageLoop() override;
  // WorkSurfaces: the primary output's.
  WorkSurfaces* SurfacesNow() { return primary(); }

 private:
  static void Global(void* data, wl_registry* registry, uint32_t name, const char* interface,
                     uint32_t version);
  static void GlobalRemoved(void* data, wl_registry* registry, uint32_t name);
  static void SeatCapabilities(void* data, wl_seat* seat, uint32_t capabilities);
  void ListenToPointer();
  void ListenToKeyboard();
  void AddOutput(uint32_t name, uint32_t version);
  // The core is to ask for the other monitors again (OtherMonitorsChanged).
  void MarkMonitorsChanged();
  // The primary output's stage; none while it shows nothing.
  MonitorStage* primary() const;
  // Once the events are handled: when the primary's output went or stopped showing, the first
  // stage shown takes its place at the primary's scale, and the saver window's flock starts
  // afresh on it (SaverResized).
  void ReplaceLostPrimary();
  void HidePointer();
  // A position on `surface` in the pointer space; nothing off every shown stage.
  std::optional<std::array<float, 2>> PointerAt(wl_surface* surface, double x, double y) const;

  wl_display* display_;
  wl_registry* registry_ = nullptr;
  wl_compositor* compositor_ = nullptr;
  wl_shm* shm_ = nullptr;
  // The shells offered, until the one to cover with is chosen.
  std::unique_ptr<CoverShell> layer_shell_;
  std::unique_ptr<CoverShell> fullscreen_shell_;
  std::unique_ptr<CoverShell> shell_;
  wl_seat* seat_ = nullptr;
  wl_pointer* pointer_ = nullptr;
  wl_keyboard* keyboard_ = nullptr;
  std::optional<StageTools> tools_;
  std::array<std::optional<Picture>, 3> sheets_;
  std::vector<std::unique_ptr<MonitorStage>> outputs_;
  // Stages of outputs that went: kept, empty, until the core asks for the monitors again.
  std::vector<std::unique_ptr<MonitorStage>> gone_;
  std::vector<MonitorStage*> answered_;
  MonitorStage* primary_ = nullptr;
  int primary_scale_ = 1;
  bool monitors_changed_ = true;
  // The saver window's flock must start afresh: its output went and another took its place.
  bool primary_replaced_ = false;
  // Outputs announced before the globals the stages need were known.
  std::vector<std::array<uint32_t, 2>> early_outputs_;
  Extent reported_size_{};
  SaverEvents* events_ = nullptr;
  PointerCount pointer_count_;
  // The pointer: the surface it is over, the serial of its entry, where it is, what it holds.
  wl_surface* pointer_surface_ = nullptr;
  uint32_t pointer_serial_ = 0;
  std::array<float, 2> pointer_position_{};
  int16_t buttons_ = 0;
};

}  // namespace fq::wayland
