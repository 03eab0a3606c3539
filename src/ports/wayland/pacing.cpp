// The frame loop's yield on Wayland: every output's frame presented, the pending events handled
// without waiting for more, and a lost primary replaced.
#include "wayland_platform.h"

#include <poll.h>
#include <wayland-client.h>

#include "listener_guard.h"

namespace fq::wayland {

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
