#include "settings_dialog/config_form.h"

#include <optional>
#include <string>

#include "platform/settings_store.h"
#include "platform/system_services.h"
#include "settings_dialog/config_layout.h"

namespace fq {
namespace {

std::string RefusalMessage(std::string_view noun, const SettingDefinition& setting) {
  // Plain concatenation: a string stream would link the whole locale machinery into the program.
  return "ERROR: For " + std::string(noun) + " we're looking for a number between " +
         std::to_string(setting.dialog_min) + " and " + std::to_string(setting.dialog_max) +
         " here, buddy.";
}

}  // namespace

void ConfigForm::Show() {
  dialog_.LoadConfigDialog(ConfigLayout(), *this);
  Form_Load();
  dialog_.ShowConfigDialog();
}

void ConfigForm::Form_Load() {
  dialog_.SetControlText(DialogControl::SpeedBox, std::to_string(settings_.Speed));
  dialog_.SetControlText(DialogControl::CountBox, std::to_string(settings_.Count));
}

void ConfigForm::OkClicked() {
  // A refusal's message box serves the dialog's messages while it is up, so another program
  // can press OK again there; that press is ignored rather than stacking a second message.
  if (ok_running_) return;
  ok_running_ = true;
  struct Done {
    bool& running;
    ~Done() { running = false; }
  } done{ok_running_};
  // Both boxes are checked whatever the first one gave, so one key can be saved alone.
  const bool speed_saved = CheckAndSave(DialogControl::SpeedBox, kSpeedSetting, "Speed");
  // Closed from outside while the refusal was up (a logoff, another program): there is no
  // box left to read, and nothing more is stored.
  if (!dialog_.ConfigDialogLoaded()) return;
  const bool count_saved = CheckAndSave(DialogControl::CountBox, kCountSetting, "count");
  if (speed_saved && count_saved) system_.EndProcessNow();
}

void ConfigForm::CancelClicked() { system_.EndProcessNow(); }

bool ConfigForm::CheckAndSave(DialogControl box, const SettingDefinition& setting,
                              std::string_view noun) {
  const std::string text = dialog_.ControlText(box);
  if (!AcceptedByDialog(setting, text, system_.DecimalSeparator())) {
    dialog_.ShowErrorMessage(RefusalMessage(noun, setting));
    return false;
  }
  store_.WriteSetting(kSettingsApp, kSettingsSection, setting.key, text);
  return true;
}

}  // namespace fq
