// frmConfig: the settings dialog's load step and its two buttons.
#pragma once

#include "platform/platform.h"
#include "startup/settings.h"

namespace fq {

class ConfigForm : public ConfigEvents {
 public:
  ConfigForm(Platform& platform, const Settings& settings)
      : platform_(platform), settings_(settings) {}

  // Loads the dialog (filling its boxes) and shows it, not modal and without an owner.
  void Show();

  void OkClicked() override;
  void CancelClicked() override;

 private:
  Platform& platform_;
  const Settings& settings_;
};

}  // namespace fq
