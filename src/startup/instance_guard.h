// Single-instance guard of saver mode: a saver that starts while another copy of the program
// runs either stops at once (a marked saver exists) or marks its own window for later copies.
#pragma once

#include <string_view>

#include "startup/settings.h"

namespace fq {

class SaverForm;
class SystemServices;

// The title by which a running saver is found; deliberately the settings' application name.
inline constexpr std::string_view kMarkerTitle = kSettingsApp;

// Saver mode only, before the saver window is loaded. Ends the process when another copy runs
// and a top-level window titled kMarkerTitle exists; otherwise, when another copy runs, loads
// `frmSaver` hidden and gives it that title. Does nothing when this copy runs alone.
void CheckPrevInstance(SystemServices& system, SaverForm& frmSaver);

}  // namespace fq
