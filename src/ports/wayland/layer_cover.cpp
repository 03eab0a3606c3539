// Covering on the layer shell: a layer surface on the overlay layer, above every window and
// panel, anchored to all four edges, that takes the keyboard.
#include <wayland-client.h>

#include "cover_shell.h"
#include "layer_shell_client.h"
#include "listener_guard.h"

namespace fq::wayland {
namespace {

constexpr uint32_t kAllEdges =
    ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
    ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT;

class LayerCovering final : public Covering {
 public:
  LayerCovering(zwlr_layer_shell_v1& shell, wl_surface& surface, wl_output& output,
                CoverEvents& events)
      : surface_(surface),
        events_(events),
        layer_(zwlr_layer_shell_v1_get_layer_surface(
            &shell, &surface, &output, ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "flyingquorlin")) {
    static constexpr zwlr_layer_surface_v1_listener kListener{.configure = Guarded<Configured>,
                                                              .closed = Guarded<Closed>};
    zwlr_layer_surface_v1_add_listener(layer_, &kListener, this);
    zwlr_layer_surface_v1_set_anchor(layer_, kAllEdges);
    // Over panels too, rather than beside them.
    zwlr_layer_surface_v1_set_exclusive_zone(layer_, -1);
    TakeKeyboard();
  }
  ~LayerCovering() override { zwlr_layer_surface_v1_destroy(layer_); }

  void TakeKeyboard() override {
    zwlr_layer_surface_v1_set_keyboard_interactivity(
        layer_, ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE);
    wl_surface_commit(&surface_);
  }

 private:
  static void Configured(void* data, zwlr_layer_surface_v1* layer, uint32_t serial,
                         uint32_t width, uint32_t height) {
    zwlr_layer_surface_v1_ack_configure(layer, serial);
    static_cast<LayerCovering*>(data)->events_.Sized(
        {static_cast<int32_t>(width), static_cast<int32_t>(height)});
  }
  static void Closed(void* data, zwlr_layer_surface_v1*) {
    static_cast<LayerCovering*>(data)->events_.Withdrawn();
  }

  wl_surface& surface_;
  CoverEvents& events_;
  zwlr_layer_surface_v1* layer_;
};

class Layers final : public CoverShell {
 public:
  explicit Layers(zwlr_layer_shell_v1* shell) : shell_(shell) {}
  ~Layers() override { zwlr_layer_shell_v1_destroy(shell_); }
  std::unique_ptr<Covering> Cover(wl_surface& surface, wl_output& output,
                                  CoverEvents& events) override {
    return std::make_unique<LayerCovering>(*shell_, surface, output, events);
  }

 private:
  zwlr_layer_shell_v1* shell_;
};

}  // namespace

std::unique_ptr<CoverShell> LayerShell(wl_registry& registry, uint32_t name) {
  return std::make_unique<Layers>(static_cast<zwlr_layer_shell_v1*>(
      wl_registry_bind(&registry, name, &zwlr_layer_shell_v1_interface, 1)));
}

}  // namespace fq::wayland
