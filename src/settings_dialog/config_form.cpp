#include "settings_dialog/config_form.h"

namespace fq {

// Placeholder until the dialog lands: shows nothing, so the process ends.
void ConfigForm::Show() {}
void ConfigForm::OkClicked() { platform_.EndProcessNow(); }
void ConfigForm::CancelClicked() { platform_.EndProcessNow(); }

}  // namespace fq
