// The seat's input: the pointer and the keyboard as the seat offers them, their events turned
// into SaverEvents in the pointer's space.
#include "wayland_platform.h"

#include <linux/input-event-codes.h>
#include <unistd.h>
#include <wayland-client.h>

#include "listener_guard.h"

namespace fq::wayland {
namespace {

// The kernel's codes, which the compositor passes on.
constexpr ButtonCodes kButtonCodes{
    .left = BTN_LEFT, .right = BTN_RIGHT, .middle = BTN_MIDDLE, .back = BTN_SIDE};

}  // namespace

void WaylandPlatform::HidePointer() {
  if (pointer_count_.hidden() && pointer_ && pointer_surface_) {
    wl_pointer_set_cursor(pointer_, pointer_serial_, nullptr, 0, 0);
  }
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

}  // namespace fq::wayland
