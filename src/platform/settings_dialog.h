// The settings dialog `frmConfig`: a top-level window built from the core's layout, whose
// text boxes the core reads and fills and whose two buttons report to the core.
#pragma once

#include <string>
#include <string_view>

#include "platform/dialog_layout.h"

namespace fq {

class ConfigEvents {
 public:
  virtual ~ConfigEvents() = default;
  virtual void OkClicked() = 0;
  virtual void CancelClicked() = 0;
};

class SettingsDialog {
 public:
  virtual ~SettingsDialog() = default;

  // Creates the dialog hidden, without owner, from `layout`, unless it exists; its buttons
  // report to `events`. Throws Fault when it cannot be created.
  virtual void LoadConfigDialog(const DialogLayout& layout, ConfigEvents& events) = 0;
  // Shows the loaded dialog and returns at once (not modal), the focus on its first control.
  // Closed from its frame, the dialog goes away and nothing is saved.
  virtual void ShowConfigDialog() = 0;
  virtual bool ConfigDialogLoaded() = 0;
  // The text of a text box or button of the loaded dialog, exactly as it stands.
  virtual std::string ControlText(DialogControl control) = 0;
  virtual void SetControlText(DialogControl control, std::string_view text) = 0;
  // Nothing happens when the dialog is not loaded.
  virtual void DestroyConfigDialog() = 0;
  // A modal box over the dialog with the critical-error icon, one OK button and the
  // application title; returns once the user has dismissed it.
  virtual void ShowErrorMessage(std::string_view text) = 0;
};

}  // namespace fq
