// The shell role that puts one stage's surface over its whole output, so that the stage code is
// the same on every compositor: a layer surface on the overlay layer where the compositor has
// the layer shell (layer_cover.cpp), else a toplevel made fullscreen on that output
// (fullscreen_cover.cpp), which the shell draws above every window but not above its own
// notifications or lock screen.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/saver_window.h"

struct wl_output;
struct wl_registry;
struct wl_surface;

namespace fq::wayland {

// What a covering surface hears from the compositor.
class CoverEvents {
 public:
  // Configured at `logical` pixels: the stage draws at that size times its scale.
  virtual void Sized(Extent logical) = 0;
  // The compositor took the surface away (its output went, or it had no room).
  virtual void Withdrawn() = 0;
  // Someone asked to close it, as a window's close box does.
  virtual void CloseAsked() = 0;

 protected:
  ~CoverEvents() = default;
};

// One surface's role, ended with it.
class Covering {
 public:
  virtual ~Covering() = default;
  // Asks anew for the keyboard, where the shell lets a client ask.
  virtual void TakeKeyboard() = 0;
};

class CoverShell {
 public:
  virtual ~CoverShell() = default;
  // Gives `surface` its role over `output` and commits it; `events` outlives the role.
  virtual std::unique_ptr<Covering> Cover(wl_surface& surface, wl_output& output,
                                          CoverEvents& events) = 0;
};

inline constexpr std::string_view kLayerShellName = "zwlr_layer_shell_v1";
inline constexpr std::string_view kFullscreenShellName = "xdg_wm_base";

// The shells, bound from the registry's global `name`.
std::unique_ptr<CoverShell> LayerShell(wl_registry& registry, uint32_t name);
std::unique_ptr<CoverShell> FullscreenShell(wl_registry& registry, uint32_t name);

}  // namespace fq::wayland
