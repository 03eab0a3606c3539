// The seam between the portable core and the operating system, split by role. Each core class
// takes only the roles it uses; the process entry hands over a Platform, which is their sum.
//
// WHAT A PORT PROVIDES
// - Every function of the roles it implements, with the effect and result its header states;
//   the core relies on nothing else. Text is UTF-8 throughout.
// - Window events only inside Pacing::YieldToMessageLoop (or the port's own message loop once
//   `Main` has returned), on the one thread, never in the middle of a core call.
// - Failures the core must hear of are thrown as Fault (base/fault.h); everything else is
//   dropped, as the headers say.
// - The design facts (window title and rectangle, surface sizes, the dialog's layout) come from
//   the core; a port keeps none of its own.
// Roles and their users:
//   SystemServices   start-up, guard, saver shut-down, dialog
//   SettingsStore    start-up (read), dialog (write)
//   SaverWindow      start-up, scene set-up, saver window
//   OtherMonitors    scene set-up, frame loop (a flock on every monitor beyond the primary)
//   Pacing           frame loop, scene set-up
//   WorkSurfaces     scene set-up, frame step, saver shut-down
//   SettingsDialog   dialog, saver shut-down
// The animation alone needs SaverWindow, OtherMonitors, Pacing and WorkSurfaces.
//
// DENSE SCREENS (platform/scaled_stage.h, platform/screen_scale.h)
// - The core counts pixels of 1/96 inch. A port chooses a whole-number scale k (Win32: from the
//   primary monitor's DPI; X11: from the stage's size, or --scale) and hands the core its
//   SaverWindow and WorkSurfaces through a ScaledStage, which multiplies what the core draws
//   and divides what it measures. The port itself works in physical pixels and holds the
//   sprite sheet drawn for k, laid out k times as large.
//
// EVERY MONITOR (platform/other_monitors.h)
// - The saver window's flock covers the primary. The port names every other monitor (its
//   rectangle in physical pixels and its k) and gives each a black window and surfaces of its
//   own; the core runs a flock on each, stepped in the same frame loop. Through the ScaledStage
//   each monitor's surfaces are shown at its own k, and a pointer move counts the core's pixels
//   of the monitor where it starts.
//
// THE WIN32 PORT (ports/win32/)
// - Adds: the process entry with its message loop, the fault box titled "FlyingQuorlin" and
//   exit code 3; the previous-instance mark (a named mutex); the settings under HKCU in the
//   key earlier builds used; the dialog's keyboard handling; a session's end as a close
//   request; Alt and F10 kept from opening the saver window's system menu; a cover over each
//   other monitor, the window its flock is drawn on, following the monitors as they come, go
//   and change (WM_DISPLAYCHANGE, and a check a few times a second, since Wine announces no
//   change made outside it), with the saver window on the primary's place and all of them
//   kept shown and on top; each monitor's scale from its own DPI (per-monitor awareness).
// - Cannot: verify a screen-saver password where password.cpl is absent (every NT-family
//   system): the service answers nothing. The pointer's display count is the system's own.
//
// THE X11 PORT (ports/x11/), the XScreenSaver hack `flyingquorlin`
// - Implements: SaverWindow, OtherMonitors, Pacing and WorkSurfaces on Xlib and RandR, and
//   nothing else: the hack runs the scene alone. Surfaces are server pixmaps; BitBlt is
//   XCopyArea with GXcopy, GXand and GXor; the sheets are the committed BMPs, compiled in and
//   decoded once per k, one pixmap for every stage of that k.
// - Adds: a stage that is either a window of its own (shown, maximised, raised, the pointer
//   hidden over it; keys, buttons, moves and the window manager's close reach SaverEvents) or a
//   window it is given (--root, --window-id, $XSCREENSAVER_WINDOW), which it only draws on; of
//   that window it hears only its destruction, as a close request. The root window and the own
//   window are split by the monitors RandR 1.5 lists: the saver window is the primary's part
//   (RandR's primary, else the first), every other monitor an OtherMonitors entry at its own k,
//   with pixmaps of its own and its blits clipped to its rectangle. RandR's events and the
//   root's ConfigureNotify are followed in the next yield. A window another program made is
//   one stage. The pointer's display count is the port's own. The options --speed and --count
//   take what the dialog would accept.
// - Cannot: draw on anything but a 24-bit TrueColor visual (a Fault); tell monitors apart
//   without RandR 1.5 (one stage); change the saver window's k after start. Has no settings
//   dialog, settings store, single-instance guard or password service: XScreenSaver keeps the
//   settings, runs one hack at a time and locks the screen itself.
//
// THE WAYLAND PORT (ports/wayland/), the client `flyingquorlin-wayland`
// - Implements: SaverWindow, OtherMonitors, Pacing and WorkSurfaces on libwayland-client with
//   the layer shell (a surface on the overlay layer of every output) or, without it, xdg-shell
//   (a window made fullscreen on every output); the first the saver window's, each drawn at its
//   output's scale into shared-memory buffers, of which only the sprites' cells are damaged.
//   Keys, buttons and moves reach SaverEvents. --when-idle runs it each time the session is idle.
// - Cannot: run without either shell: it says so and exits with 2. Has no settings dialog,
//   store, guard or password service, as the hack has none.
#pragma once

#include "platform/other_monitors.h"
#include "platform/pacing.h"
#include "platform/saver_window.h"
#include "platform/settings_dialog.h"
#include "platform/settings_store.h"
#include "platform/system_services.h"
#include "platform/work_surfaces.h"

namespace fq {

class Platform : public SystemServices,
                 public SettingsStore,
                 public SaverWindow,
                 public OtherMonitors,
                 public Pacing,
                 public WorkSurfaces,
                 public SettingsDialog {};

}  // namespace fq
