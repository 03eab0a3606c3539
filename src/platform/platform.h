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
// - The core counts pixels of 1/96 inch. A port chooses a whole-number scale k (its entry file
//   says by what rule) and hands the core its SaverWindow and WorkSurfaces through a
//   ScaledStage, which multiplies what the core draws and divides what it measures. The port
//   itself works in physical pixels and holds the sprite sheet drawn for k, laid out k times
//   as large.
//
// EVERY MONITOR (platform/other_monitors.h)
// - The saver window's flock covers the primary. The port names every other monitor (its
//   rectangle in physical pixels and its k) and gives each a black window and surfaces of its
//   own; the core runs a flock on each, stepped in the same frame loop. Through the ScaledStage
//   each monitor's surfaces are shown at its own k, and a pointer move counts the core's pixels
//   of the monitor where it starts.
//
// EACH PORT lists what it implements beyond this and what it cannot do at the top of its own
// entry file: ports/win32/entry.cpp, ports/x11/entry.cpp, ports/wayland/entry.cpp.
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
