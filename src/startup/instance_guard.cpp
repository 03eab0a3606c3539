// The guard's three outcomes; how "another copy runs" is told is the platform's business.
#include "startup/instance_guard.h"

#include "platform/system_services.h"
#include "saver_window/saver_form.h"

namespace fq {

void CheckPrevInstance(SystemServices& system, SaverForm& frmSaver) {
  // A saver that starts alone neither searches nor marks: only a second copy sets the mark,
  // so two savers may run side by side and a third one stops.
  if (!system.PreviousInstanceRunning()) return;
  // Nothing of this process is loaded yet, so ending here shows nothing.
  if (system.TopLevelWindowExists(kMarkerTitle)) system.EndProcessNow();
  frmSaver.SetTitle(kMarkerTitle);
}

}  // namespace fq
