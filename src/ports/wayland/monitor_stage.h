// One output covered by the saver: a layer surface on the overlay layer, anchored to all four
// edges, that takes the keyboard; its frame in shared-memory buffers at the output's scale; and
// the work surfaces its flock draws with (stage_surfaces.h).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "frame_buffers.h"
#include "ports/shared/forwarded_surfaces.h"
#include "resources/picture.h"
#include "stage_surfaces.h"

struct wl_compositor;
struct wl_output;
struct wl_surface;
struct zwlr_layer_shell_v1;
struct zwlr_layer_surface_v1;

namespace fq::wayland {

// What every output's stage needs from the connection.
struct StageTools {
  wl_display& display;
  wl_compositor& compositor;
  wl_shm& shm;
  zwlr_layer_shell_v1& layer_shell;
  // The scale chosen by hand (1 to kMaxScale), or 0 for each output's own.
  int forced_scale = 0;
  // The sheet drawn for a scale, decoded once.
  std::function<const Picture&(int scale)> sheet;
  // Called when a stage's size, scale or presence changes.
  std::function<void()> changed;
};

class MonitorStage : public ForwardedSurfaces<MonitorStage> {
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
  static void Configured(void* data, zwlr_layer_surface_v1* layer, uint32_t serial,
                         uint32_t width, uint32_t height);
  static void Closed(void* data, zwlr_layer_surface_v1* layer);
  static void OutputScale(void* data, wl_output* output, int32_t factor);
  static void OutputDone(void* data, wl_output* output);
  void Cover();
  void Measure();

  StageTools& tools_;
  wl_output* output_;
  const uint32_t name_;
  wl_surface* surface_ = nullptr;
  zwlr_layer_surface_v1* layer_ = nullptr;
  int output_scale_ = 1;
  int scale_ = 1;
  int pinned_scale_ = 0;
  // The layer surface's size in the compositor's logical pixels.
  Extent logical_{};
  FrameBuffers frame_;
  StageSurfaces surfaces_;
};

}  // namespace fq::wayland
