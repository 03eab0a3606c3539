// Placeholder: the settings dialog lands with its own window.
#include "win32_platform.h"

namespace fq::win32 {

void Win32Platform::ShowConfigDialog(const DialogLayout&, ConfigEvents&) {}
bool Win32Platform::ConfigDialogLoaded() { return dialog_ != nullptr; }
std::string Win32Platform::ControlText(DialogControl) { return {}; }
void Win32Platform::SetControlText(DialogControl, std::string_view) {}
void Win32Platform::DestroyConfigDialog() {}

}  // namespace fq::win32
