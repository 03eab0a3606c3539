#include "wayland_platform.h"

#include <linux/input-event-codes.h>
#include <poll.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <cstring>

#include "base/fault.h"
#include "layer_shell_client.h"
#include "listener_guard.h"
#include "ports/unix/embedded_sheets.h"

namespace fq::wayland {
namespace {

// A compositor announces its outputs at once and configures each covering surface in answer
// to its first commit: a few round trips show them all.
constexpr int kStartRoundTrips = 8;

// The kernel's codes, which the compositor passes on.
constexpr ButtonCodes kButtonCodes{
    .left = BTN_LEFT, .right = BTN_RIGHT, .middle = BTN_MIDDLE, .back = BTN_SIDE};

}  // namespace

WaylandPlatform::WaylandPlatform(int forced_scale) : display_(wl_display_connect(nullptr)) {
  if (!display_) {
    throw MissingCompositor(
        "no Wayland compositor answers ($WAYLAND_DISPLAY names none, or nothing listens "
        "there).");
  }
  registry_ = wl_display_get_registry(display_);
  static constexpr wl_registry_listener kListener{.global = Guarded<Global>,
                                                  .global_remove = Guarded<GlobalRemoved>};
  wl_registry_add_listener(registry_, &kListener, this);
  Dispatched(wl_display_roundtrip(display_));
  if (!layer_shell_) {
    throw MissingCompositor(
        "the compositor has no layer shell (zwlr_layer_shell_v1), which a saver needs to "
        "cover the screens; GNOME offers none.");
  }
  if (!compositor_ || !shm_) {
    throw Fault(FaultKind::PlatformFailure, "The compositor offers no surfaces in shared memory.");
  }
  tools_.emplace(StageTools{
      .display = *display_,
      .compositor = *compositor_,
      .shm = *shm_,
      .layer_shell = *layer_shell_,
      .forced_scale = forced_scale,
      .sheet = [this](int scale) -> const Picture& {
        std::optional<Picture>& sheet = sheets_.at(scale - 1);
        if (!sheet) sheet = EmbeddedSheet(scale);
        return *sheet;
      },
      .changed = [this] { MarkMonitorsChanged(); }});
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
  if (layer_shell_) zwlr_layer_shell_v1_destroy(layer_shell_);
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
  } else if (what == zwlr_layer_shell_v1_interface.name) {
    self.layer_shell_ = static_cast<zwlr_layer_shell_v1*>(bind(zwlr_layer_shell_v1_interface, 1));
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

void WaylandPlatform::MarkMonitorsChanged() { monitors_changed_ = true; }

std::vector<MonitorStage*> WaylandPlatform::Shown() const {
  std::vector<MonitorStage*> shown;
  if (primary_ && primary_->shown()) shown.push_back(primary_);
  for (const auto& stage : outputs_) {
    if (stage->shown() && stage.get() != primary_) shown.push_back(stage.get());
  }
  return shown;
}

MonitorStage* WaylandPlatform::primary() const {
  return primary_ && primary_->shown() ? primary_ : nullptr;
}

void WaylandPlatform::ReplaceLostPrimary() {
  if (primary()) return;
  const std::vector<MonitorStage*> shown = Shown();
  if (shown.empty()) return;
  primary_ = shown.front();
  primary_->PinScale(primary_scale_);
  primary_replaced_ = true;
  MarkMonitorsChanged();
}

Extent WaylandPlatform::PrimaryScreenSize() {
  const MonitorStage* stage = primary();
  return stage ? stage->size() : reported_size_;
}

void WaylandPlatform::LoadSaverWindow(const WindowDesign&, SaverEvents& events) {
  events_ = &events;
}

Extent WaylandPlatform::SaverClientSize() {
  primary_replaced_ = false;
  return reported_size_ = PrimaryScreenSize();
}

bool WaylandPlatform::SaverResized() {
  const Extent size = PrimaryScreenSize();
  return primary_replaced_ || size.width != reported_size_.width ||
         size.height != reported_size_.height;
}

void WaylandPlatform::RepaintSaver() {
  if (MonitorStage* stage = primary()) stage->PaintBlack();
}

// Hidden by giving the pointer no picture over the saver's surfaces. Nothing shows it again:
// the core asks for that only as the process ends, and the compositor then draws its own.
int32_t WaylandPlatform::ChangePointerCount(bool show) {
  const int32_t count = pointer_count_.Change(show);
  HidePointer();
  return count;
}

void WaylandPlatform::HidePointer() {
  if (pointer_count_.hidden() && pointer_ && pointer_surface_) {
    wl_pointer_set_cursor(pointer_, pointer_serial_, nullptr, 0, 0);
  }
}

std::vector<MonitorArea> WaylandPlatform::OtherMonitorAreas() {
  gone_.clear();
  monitors_changed_ = false;
  answered_.clear();
  std::vector<MonitorArea> areas;
  int32_t left = 0;
  for (MonitorStage* stage : Shown()) {
    if (stage != primary_) {
      answered_.push_back(stage);
      areas.push_back({{left, 0, stage->size().width, stage->size().height}, stage->scale()});
    }
    left += stage->size().width;
  }
  return areas;
}

std::optional<std::array<float, 2>> WaylandPlatform::PointerAt(wl_surface* surface, double x,
                                                               double y) const {
  float left = 0;
  for (const MonitorStage* stage : Shown()) {
    const auto k = static_cast<float>(stage->scale());
    if (stage->surface() == surface) {
      return std::array{left + static_cast<float>(x) * k, static_cast<float>(y) * k};
    }
    left += static_cast<float>(stage->size().width);
  }
  return std::nullopt;
}

void WaylandPlatform::SeatCapabilities(void* data, wl_seat* seat, uint32_t capabilities) {
  auto& self = *static_cast<WaylandPlatform*>(data);
  const bool pointer = capabilities & WL_SEAT_CAPABILITY_POINTER;
  const bool keyboard = capabilities & WL_SEAT_CAPABILITY_KEYBOARD;
  if (pointer && !self.pointer_) {
    self.pointer_ = wl_seat_get_pointer(seat);
    self.ListenToPointer();
  } else if (!pointer && self.pointer_) {
    wl_pointer_destroy(self.pointer_);
    self.pointer_ = nullptr;
    self.pointer_surface_ = nullptr;
  }
  if (keyboard && !self.keyboard_) {
    self.keyboard_ = wl_seat_get_keyboard(seat);
    self.ListenToKeyboard();
  } else if (!keyboard && self.keyboard_) {
    wl_keyboard_destroy(self.keyboard_);
    self.keyboard_ = nullptr;
  }
}

void WaylandPlatform::ListenToPointer() {
  static constexpr wl_pointer_listener kListener{
      .enter = Guarded<[](void* data, wl_pointer*, uint32_t serial, wl_surface* surface,
                          wl_fixed_t x, wl_fixed_t y) {
            auto& self = *static_cast<WaylandPlatform*>(data);
            self.pointer_surface_ = surface;
            self.pointer_serial_ = serial;
            self.HidePointer();
            const auto at = self.PointerAt(surface, wl_fixed_to_double(x), wl_fixed_to_double(y));
            if (!at) return;
            self.pointer_position_ = *at;
            if (self.events_) self.events_->PointerPlaced((*at)[0], (*at)[1]);
          }>,
      .leave = Guarded<[](void* data, wl_pointer*, uint32_t, wl_surface*) {
            static_cast<WaylandPlatform*>(data)->pointer_surface_ = nullptr;
          }>,
      .motion = Guarded<[](void* data, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) {
            auto& self = *static_cast<WaylandPlatform*>(data);
            const auto at = self.PointerAt(self.pointer_surface_, wl_fixed_to_double(x),
                                           wl_fixed_to_double(y));
            if (!at) return;
            self.pointer_position_ = *at;
            if (self.events_) self.events_->MouseMove(self.buttons_, 0, (*at)[0], (*at)[1]);
          }>,
      .button = Guarded<[](void* data, wl_pointer*, uint32_t, uint32_t, uint32_t button,
                           uint32_t state) {
            auto& self = *static_cast<WaylandPlatform*>(data);
            const int16_t bit = ButtonBit(kButtonCodes, button);
            if (state != WL_POINTER_BUTTON_STATE_PRESSED) {
              self.buttons_ = static_cast<int16_t>(self.buttons_ & ~bit);
              return;
            }
            self.buttons_ = static_cast<int16_t>(self.buttons_ | bit);
            const auto [x, y] = self.pointer_position_;
            if (self.events_) self.events_->MouseDown(bit, 0, x, y);
          }>,
      // A turn of the wheel is no click, on Windows either.
      .axis = [](void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {},
      .frame = nullptr,
      .axis_source = nullptr,
      .axis_stop = nullptr,
      .axis_discrete = nullptr,
      .axis_value120 = nullptr};
  wl_pointer_add_listener(pointer_, &kListener, this);
}

void WaylandPlatform::ListenToKeyboard() {
  static constexpr wl_keyboard_listener kListener{
      .keymap = Guarded<[](void*, wl_keyboard*, uint32_t, int32_t fd, uint32_t) { close(fd); }>,
      // Keys held as a surface takes the keyboard were pressed before the saver showed.
      .enter = [](void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {},
      .leave = [](void*, wl_keyboard*, uint32_t, wl_surface*) {},
      .key = Guarded<[](void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t key,
                        uint32_t state) {
            auto& self = *static_cast<WaylandPlatform*>(data);
            if (state == WL_KEYBOARD_KEY_STATE_PRESSED && self.events_) {
              self.events_->KeyDown(static_cast<int16_t>(key), 0);
            }
          }>,
      .modifiers = [](void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {},
      .repeat_info = nullptr};
  wl_keyboard_add_listener(keyboard_, &kListener, this);
}

void WaylandPlatform::YieldToMessageLoop() {
  for (const auto& stage : outputs_) stage->Present();
  Dispatch();
  ReplaceLostPrimary();
}

// An error with events queued fails every prepare_read: each dispatch's result is checked.
void WaylandPlatform::Dispatch() {
  while (wl_display_prepare_read(display_) != 0) {
    Dispatched(wl_display_dispatch_pending(display_));
  }
  wl_display_flush(display_);
  pollfd socket{wl_display_get_fd(display_), POLLIN, 0};
  if (poll(&socket, 1, 0) > 0) {
    wl_display_read_events(display_);
  } else {
    wl_display_cancel_read(display_);
  }
  Dispatched(wl_display_dispatch_pending(display_));
}

}  // namespace fq::wayland
