// The frame loop's pacing on X11: the yield hands every pending X event to the window's
// handlers (and sends the frame's drawing on its way) and lays the stages out again when the
// window or the monitors changed.
#include "x11_platform.h"

namespace fq::x11 {

void X11Platform::YieldToMessageLoop() {
  // XPending flushes the drawing requests before it looks for events.
  while (XPending(&display_) > 0) {
    XEvent event;
    XNextEvent(&display_, &event);
    if (events_) Dispatch(event);
  }
  if (layout_stale_) {
    layout_stale_ = false;
    if (randr_events_ >= 0) monitors_ = ReadMonitors();
    Relayout();
  }
}

}  // namespace fq::x11
