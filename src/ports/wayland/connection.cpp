// The connection to the compositor: the globals the platform binds, and the outputs as they
// come and go, each covered by a stage of its own.
#include "wayland_platform.h"

#include <wayland-client.h>

#include <algorithm>

#include "base/fault.h"
#include "cover_shell.h"
#include "listener_guard.h"
#include "ports/unix/embedded_sheets.h"

namespace fq::wayland {
namespace {

// A compositor announces its outputs at once and configures each covering surface in answer
// to its first commit: a few round trips show them all.
constexpr int kStartRoundTrips = 8;

}  // namespace

WaylandPlatform::WaylandPlatform(int forced_scale) : display_(wl_display_connect(nullptr)) {
  if (!display_) throw MissingCompositor(kNoCompositor);
  registry_ = wl_display_get_registry(display_);
  static constexpr wl_registry_listener kListener{.global = Guarded<Global>,
                                                  .global_remove = Guarded<GlobalRemoved>};
  wl_registry_add_listener(registry_, &kListener, this);
  Dispatched(wl_display_roundtrip(display_));
  // The layer shell puts the saver above panels and notifications too.
  shell_ = layer_shell_ ? std::move(layer_shell_) : std::move(fullscreen_shell_);
  fullscreen_shell_.reset();
  if (!shell_) throw MissingCompositor(kNoCoverShell);
  if (!compositor_ || !shm_) {
    throw Fault(FaultKind::PlatformFailure, "The compositor offers no surfaces in shared memory.");
  }
  tools_.emplace(StageTools{
      .display = *display_,
      .compositor = *compositor_,
      .shm = *shm_,
      .shell = *shell_,
      .forced_scale = forced_scale,
      .sheet = [this](int scale) -> const Picture& {
        std::optional<Picture>& sheet = sheets_.at(scale - 1);
        if (!sheet) sheet = EmbeddedSheet(scale);
        return *sheet;
      },
      .changed = [this] { MarkMonitorsChanged(); },
      .close_asked = [this] {
        if (events_) events_->CloseRequested(0);
      }});
  for (const auto& [name, version] : early_outputs_) AddOutput(name, version);
  for (int trip = 0; trip < kStartRoundTrips && Shown().size() < outputs_.size(); ++trip) {
    Dispatched(wl_display_roundtrip(display_));
  }
  primary_ = Shown().empty() ? nullptr : Shown().front();
  if (!primary_) throw Fault(FaultKind::PlatformFailure, "The compositor shows no output.");
  primary_scale_ = primary_->scale();
  primary_->PinScale(primary_scale_);
}

WaylandPlatform::~WaylandPlatform() {
  outputs_.clear();
  gone_.clear();
  if (pointer_) wl_pointer_destroy(pointer_);
  if (keyboard_) wl_keyboard_destroy(keyboard_);
  if (seat_) wl_seat_destroy(seat_);
  shell_.reset();
  if (shm_) wl_shm_destroy(shm_);
  if (compositor_) wl_compositor_destroy(compositor_);
  wl_registry_destroy(registry_);
  wl_display_disconnect(display_);
}

void WaylandPlatform::Global(void* data, wl_registry* registry, uint32_t name,
                             const char* interface, uint32_t version) {
  auto& self = *static_cast<WaylandPlatform*>(data);
  const auto bind = [&](const wl_interface& kind, uint32_t most) {
    return wl_registry_bind(registry, name, &kind, std::min(version, most));
  };
  const std::string_view what(interface);
  if (what == wl_compositor_interface.name && version >= WL_SURFACE_DAMAGE_BUFFER_SINCE_VERSION) {
    self.compositor_ = static_cast<wl_compositor*>(
        bind(wl_compositor_interface, WL_SURFACE_DAMAGE_BUFFER_SINCE_VERSION));
  } else if (what == wl_shm_interface.name) {
    self.shm_ = static_cast<wl_shm*>(bind(wl_shm_interface, 1));
  } else if (what == kLayerShellName && !self.layer_shell_ && !self.shell_) {
    self.layer_shell_ = LayerShell(*registry, name);
  } else if (what == kFullscreenShellName && !self.fullscreen_shell_ && !self.shell_) {
    self.fullscreen_shell_ = FullscreenShell(*registry, name);
  } else if (what == wl_seat_interface.name && !self.seat_) {
    self.seat_ = static_cast<wl_seat*>(bind(wl_seat_interface, 1));
    static constexpr wl_seat_listener kListener{.capabilities = Guarded<SeatCapabilities>,
                                                .name = nullptr};
    wl_seat_add_listener(self.seat_, &kListener, &self);
  } else if (what == wl_output_interface.name) {
    if (self.tools_) {
      self.AddOutput(name, version);
    } else {
      self.early_outputs_.push_back({name, version});
    }
  }
}

void WaylandPlatform::AddOutput(uint32_t name, uint32_t version) {
  auto* output = static_cast<wl_output*>(wl_registry_bind(
      registry_, name, &wl_output_interface, std::min<uint32_t>(version, WL_OUTPUT_RELEASE_SINCE_VERSION)));
  outputs_.push_back(std::make_unique<MonitorStage>(*tools_, output, name));
}

// The compositor may give the keyboard to no one once the surface that held it has gone.
void WaylandPlatform::GlobalRemoved(void* data, wl_registry*, uint32_t name) {
  auto& self = *static_cast<WaylandPlatform*>(data);
  const auto gone = std::find_if(self.outputs_.begin(), self.outputs_.end(),
                                 [name](const auto& stage) { return stage->name() == name; });
  if (gone == self.outputs_.end()) return;
  if (gone->get() == self.primary_) self.primary_ = nullptr;
  (*gone)->Withdraw();
  self.gone_.push_back(std::move(*gone));
  self.outputs_.erase(gone);
  for (const auto& stage : self.outputs_) stage->TakeKeyboard();
  self.MarkMonitorsChanged();
}

}  // namespace fq::wayland
