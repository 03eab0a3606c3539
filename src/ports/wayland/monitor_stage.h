// One output covered by the saver: a surface over the whole output in the shell's covering role
// (cover_shell.h); its frame in shared-memory buffers at the output's scale; and the work
// surfaces its flock draws with (stage_surfaces.h).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "cover_shell.h"
#include "frame_buffers.h"
#include "ports/shared/forwarded_surfaces.h"
#include "resources/picture.h"
#include "stage_surfaces.h"

struct wl_compositor;
struct wl_output;
struct wl_surface;

namespace fq::wayland {

// What every output's stage needs from the connection.
struct StageTools {
  wl_display& display;
  wl_compositor& compositor;
  wl_shm& shm;
  CoverShell& shell;
  // The scale chosen by hand (1 to kMaxScale), or 0 for each output's own.
  int forced_scale = 0;
  // The sheet drawn for a scale, decoded once.
  std::function<const Picture&(int scale)> sheet;
  // Called when a stage's size, scale or presence changes.
  std::function<void()> changed;
  // Called when someone asks to close a stage.
  std::function<void()> close_asked;
};

class MonitorStage : public ForwardedSurfaces<MonitorStage>, CoverEvents {
 public:
  // Binds nothing itself: `output` is the bound global `name`.
  MonitorStage(StageTools& tools, wl_output* output, uint32_t name);
  MonitorStage(const MonitorStage&) = delete;
  MonitorStage& operator=(const MonitorStage&) = delete;
  ~MonitorStage() override;

  uint32_t name() const { return name_; }
  wl_surface* surface() const { return surface_; }
  // Configured, with buffers of its size, and not closed.
  bool shown() const { return surface_ && frame_.size().width > 0; }
  // The whole-number scale its pixels are drawn at.
  int scale() const { return scale_; }
  // In the output's physical pixels.
  Extent size() const { return frame_.size(); }

  // Draws at `scale` whatever the output's, from now on: the primary output's scale is the
  // scaled stage's, fixed for the run.
  void PinScale(int scale);
  // Covering ends: the surface goes, drawing goes nowhere, the memory is freed.
  void Withdraw();
  // Asks anew for the keyboard, which the compositor may give no one once a covering surface
  // that held it has gone.
  void TakeKeyboard();
  void PaintBlack();
  void Present();
  // The buffers themselves, for a benchmark's bare loop to draw in as the stage does.
  FrameBuffers& frame() { return frame_; }

  // WorkSurfaces, in the output's physical pixels, while it is shown.
  WorkSurfaces* SurfacesNow() { return shown() ? &surfaces_ : nullptr; }

 private:
  // CoverEvents
  void Sized(Extent logical) override;
  void Withdrawn() override;
  void CloseAsked() override { tools_.close_asked(); }
  static void OutputScale(void* data, wl_output* output, int32_t factor);
  static void OutputDone(void* data, wl_output* output);
  void Cover();
  void Measure();

  StageTools& tools_;
  wl_output* output_;
  const uint32_t name_;
  wl_surface* surface_ = nullptr;
  std::unique_ptr<Covering> cover_;
  int output_scale_ = 1;
  int scale_ = 1;
  int pinned_scale_ = 0;
  // The covering surface's size in the compositor's logical pixels.
  Extent logical_{};
  FrameBuffers frame_;
  StageSurfaces surfaces_;
};

}  // namespace fq::wayland
