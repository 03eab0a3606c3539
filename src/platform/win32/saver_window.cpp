// Placeholder: the saver window lands with saver mode.
#include "win32_platform.h"

namespace fq::win32 {

Extent Win32Platform::PrimaryScreenSize() {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}
void Win32Platform::LoadSaverWindow(SaverEvents&) {}
bool Win32Platform::SaverWindowLoaded() { return saver_ != nullptr; }
void Win32Platform::SetSaverTitle(std::string_view) {}
void Win32Platform::SetSaverOuterSize(Extent) {}
Extent Win32Platform::SaverOuterSize() { return {}; }
Extent Win32Platform::SaverClientSize() { return {}; }
void Win32Platform::ShowSaver() {}
void Win32Platform::MaximiseSaver() {}
void Win32Platform::RepaintSaver() {}
void Win32Platform::MakeSaverTopmost() {}
void Win32Platform::DestroySaverWindow() {}

}  // namespace fq::win32
