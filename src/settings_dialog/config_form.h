// frmConfig: the settings dialog's load step and its two buttons. The dialog is the only
// writer of the settings store; both buttons end the program.
#pragma once

#include "platform/settings_dialog.h"
#include "startup/settings.h"

namespace fq {

class SettingsStore;
class SystemServices;

class ConfigForm : public ConfigEvents {
 public:
  ConfigForm(SettingsDialog& dialog, SettingsStore& store, SystemServices& system,
             const Settings& settings)
      : dialog_(dialog), store_(store), system_(system), settings_(settings) {}

  // Loads the dialog (Form_Load fills its boxes) and shows it, not modal and without owner.
  void Show();

  // cmdOK_Click: checks each box against its setting's range and saves the texts that pass;
  // ends the process when both passed, otherwise the dialog stays as the user left it. A press
  // that arrives while a press is still being handled (its message is up) is ignored.
  void OkClicked() override;
  // cmdCancel_Click: ends the process, saving nothing.
  void CancelClicked() override;

 private:
  void Form_Load();
  // True when the box's text passed and was saved; shows the refusal message otherwise.
  bool CheckAndSave(DialogControl box, const SettingDefinition& setting, std::string_view noun);

  SettingsDialog& dialog_;
  SettingsStore& store_;
  SystemServices& system_;
  const Settings& settings_;
  bool ok_running_ = false;
};

}  // namespace fq
