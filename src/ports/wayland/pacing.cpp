// The frame loop's yield on Wayland: every output's frame presented, the pending events handled
// without waiting for more, and a lost primary replaced.
#include "wayland_platform.h"

#include <poll.h>
#include <wayland-client.h>

#include "listener_guard.h"

namespace fq::wayland {

void WaylandPlatform::YieldToMessageLoop() {
  for (const auto& stage : outputs_) stage->Present();
  DispatchReady(*display_);
  ReplaceLostPrimary();
}

// An error with events queued fails every prepare_read: each dispatch's result is checked.
void DispatchReady(wl_display& display) {
  while (wl_display_prepare_read(&display) != 0) {
    Dispatched(wl_display_dispatch_pending(&display));
  }
  wl_display_flush(&display);
  pollfd socket{wl_display_get_fd(&display), POLLIN, 0};
  if (poll(&socket, 1, 0) > 0) {
    wl_display_read_events(&display);
  } else {
    wl_display_cancel_read(&display);
  }
  Dispatched(wl_display_dispatch_pending(&display));
}

}  // namespace fq::wayland
