// Covering without the layer shell: an undecorated toplevel made fullscreen on its output
// (xdg-shell). No decoration is asked for, so the compositor draws none; the keyboard is
// whatever the compositor gives a new fullscreen window.
#include <wayland-client.h>

#include "cover_shell.h"
#include "listener_guard.h"
#include "xdg_shell_client.h"

namespace fq::wayland {
namespace {

class FullscreenCovering final : public Covering {
 public:
  FullscreenCovering(xdg_wm_base& shell, wl_surface& surface, wl_output& output,
                     CoverEvents& events)
      : events_(events), role_(xdg_wm_base_get_xdg_surface(&shell, &surface)),
        toplevel_(xdg_surface_get_toplevel(role_)) {
    static constexpr xdg_surface_listener kRole{.configure = Guarded<Configured>};
    static constexpr xdg_toplevel_listener kToplevel{.configure = Guarded<Sized>,
                                                     .close = Guarded<Close>,
                                                     .configure_bounds = nullptr,
                                                     .wm_capabilities = nullptr};
    xdg_surface_add_listener(role_, &kRole, this);
    xdg_toplevel_add_listener(toplevel_, &kToplevel, this);
    xdg_toplevel_set_title(toplevel_, "Flying Quorlin");
    xdg_toplevel_set_app_id(toplevel_, "flyingquorlin");
    xdg_toplevel_set_fullscreen(toplevel_, &output);
    wl_surface_commit(&surface);
  }
  ~FullscreenCovering() override {
    xdg_toplevel_destroy(toplevel_);
    xdg_surface_destroy(role_);
  }

  // A toplevel cannot ask for the keyboard.
  void TakeKeyboard() override {}

 private:
  static void Sized(void* data, xdg_toplevel*, int32_t width, int32_t height, wl_array*) {
    static_cast<FullscreenCovering*>(data)->pending_ = {width, height};
  }
  // A size of 0 leaves it to the client, which knows no better than the output's: it waits
  // for one the compositor gives.
  static void Configured(void* data, xdg_surface* role, uint32_t serial) {
    auto& self = *static_cast<FullscreenCovering*>(data);
    xdg_surface_ack_configure(role, serial);
    if (self.pending_.width > 0 && self.pending_.height > 0) self.events_.Sized(self.pending_);
  }
  static void Close(void* data, xdg_toplevel*) {
    static_cast<FullscreenCovering*>(data)->events_.CloseAsked();
  }

  CoverEvents& events_;
  xdg_surface* role_;
  xdg_toplevel* toplevel_;
  Extent pending_{};
};

class Fullscreens final : public CoverShell {
 public:
  explicit Fullscreens(xdg_wm_base* shell) : shell_(shell) {
    static constexpr xdg_wm_base_listener kListener{
        .ping = [](void*, xdg_wm_base* shell, uint32_t serial) { xdg_wm_base_pong(shell, serial); }};
    xdg_wm_base_add_listener(shell_, &kListener, nullptr);
  }
  ~Fullscreens() override { xdg_wm_base_destroy(shell_); }
  std::unique_ptr<Covering> Cover(wl_surface& surface, wl_output& output,
                                  CoverEvents& events) override {
    return std::make_unique<FullscreenCovering>(*shell_, surface, output, events);
  }

 private:
  xdg_wm_base* shell_;
};

}  // namespace

std::unique_ptr<CoverShell> FullscreenShell(wl_registry& registry, uint32_t name) {
  return std::make_unique<Fullscreens>(
      static_cast<xdg_wm_base*>(wl_registry_bind(&registry, name, &xdg_wm_base_interface, 1)));
}

}  // namespace fq::wayland
