#include "monitor_stage.h"

#include <wayland-client.h>

#include <algorithm>

#include "listener_guard.h"
#include "platform/screen_scale.h"

namespace fq::wayland {
namespace {

void Ignore() {}

}  // namespace

MonitorStage::MonitorStage(StageTools& tools, wl_output* output, uint32_t name)
    : tools_(tools),
      output_(output),
      name_(name),
      frame_(tools.display, tools.shm),
      surfaces_(frame_, [this]() -> const Picture& { return tools_.sheet(scale_); }) {
  static constexpr wl_output_listener kListener{
      .geometry = [](void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t,
                     const char*, const char*, int32_t) { Ignore(); },
      .mode = [](void*, wl_output*, uint32_t, int32_t, int32_t, int32_t) { Ignore(); },
      .done = Guarded<OutputDone>,
      .scale = Guarded<OutputScale>,
      .name = nullptr,
      .description = nullptr};
  wl_output_add_listener(output_, &kListener, this);
  // Before version 2 an output announces no scale and no end of its description.
  if (wl_output_get_version(output_) < WL_OUTPUT_DONE_SINCE_VERSION) Cover();
}

MonitorStage::~MonitorStage() {
  Withdraw();
  if (wl_output_get_version(output_) >= WL_OUTPUT_RELEASE_SINCE_VERSION) {
    wl_output_release(output_);
  } else {
    wl_output_destroy(output_);
  }
}

void MonitorStage::OutputScale(void* data, wl_output*, int32_t factor) {
  static_cast<MonitorStage*>(data)->output_scale_ = factor;
}

void MonitorStage::OutputDone(void* data, wl_output*) {
  auto& stage = *static_cast<MonitorStage*>(data);
  if (!stage.cover_) {
    stage.Cover();
  } else {
    stage.Measure();
  }
}

void MonitorStage::Cover() {
  surface_ = wl_compositor_create_surface(&tools_.compositor);
  cover_ = tools_.shell.Cover(*surface_, *output_, *this);
}

void MonitorStage::Sized(Extent logical) {
  logical_ = logical;
  Measure();
}

void MonitorStage::Withdrawn() {
  Withdraw();
  tools_.changed();
}

void MonitorStage::PinScale(int scale) {
  pinned_scale_ = scale;
  Measure();
}

// Art exists up to kMaxScale; a denser output shows it a little enlarged by the compositor.
void MonitorStage::Measure() {
  if (!cover_ || logical_.width <= 0) return;
  const int scale = pinned_scale_ ? pinned_scale_
                    : tools_.forced_scale ? tools_.forced_scale
                                          : std::clamp(output_scale_, 1, kMaxScale);
  const Extent size{logical_.width * scale, logical_.height * scale};
  if (scale == scale_ && size.width == frame_.size().width &&
      size.height == frame_.size().height) {
    return;
  }
  scale_ = scale;
  wl_surface_set_buffer_scale(surface_, scale);
  frame_.Resize(size);
  tools_.changed();
}

void MonitorStage::Withdraw() {
  cover_.reset();
  if (surface_) wl_surface_destroy(surface_);
  surface_ = nullptr;
  frame_.Resize({});
  surfaces_.UnloadWorkSurfaces();
}

void MonitorStage::TakeKeyboard() {
  if (cover_) cover_->TakeKeyboard();
}

void MonitorStage::PaintBlack() {
  if (!shown()) return;
  const PixelRect all{0, 0, size().width, size().height};
  FillBlack(frame_.Drawing(), all);
  frame_.Damage(all);
}

void MonitorStage::Present() {
  if (shown()) frame_.Present(*surface_);
}

}  // namespace fq::wayland
