// fq_saver_fault.exe /s [covers | no-timer]: the saver as the program runs it, with one failure
// as on a system out of resources: its drawing, a second and a half into the frame loop; or,
// given "covers", the window of every cover after the first. test_monitors.py and
// test_monitor_changes.py run it under Wine to see the fault's box, what ends it and what is
// left of the saver. Given "no-timer", nothing fails but the look-up of the high-resolution
// timer, as on a system without it: test_saver.py sees it start and pace.
#include <string_view>

#include "base/fault.h"
#include "startup/program.h"
#include "win32_platform.h"

namespace {

class FailingSurfaces : public fq::WorkSurfaces {
 public:
  explicit FailingSurfaces(fq::WorkSurfaces& surfaces) : surfaces_(surfaces) {}

  void LoadWorkSurfaces(const fq::WorkFormDesign& design) override {
    surfaces_.LoadWorkSurfaces(design);
  }
  void ResizeSurface(fq::SurfaceId surface, fq::Extent size) override {
    surfaces_.ResizeSurface(surface, size);
  }
  void BitBlt(fq::SurfaceId destination, int32_t x, int32_t y, int32_t width, int32_t height,
              fq::SurfaceId source, int32_t source_x, int32_t source_y,
              fq::RasterOp op) override {
    if (!first_) first_ = GetTickCount64();
    if (GetTickCount64() - first_ > 1500) {
      throw fq::Fault(fq::FaultKind::PlatformFailure, "The drawing failed.");
    }
    surfaces_.BitBlt(destination, x, y, width, height, source, source_x, source_y, op);
  }
  void UnloadWorkSurfaces() override { surfaces_.UnloadWorkSurfaces(); }

 private:
  fq::WorkSurfaces& surfaces_;
  ULONGLONG first_ = 0;
};

int covers_made = 0;

LRESULT CALLBACK RefuseCoversAfterTheFirst(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_CREATEWND) {
    const wchar_t* name = reinterpret_cast<CBT_CREATEWNDW*>(lparam)->lpcs->lpszClass;
    if (!IS_INTRESOURCE(name) && lstrcmpW(name, fq::win32::kCoverClass) == 0 &&
        ++covers_made > 1) {
      return 1;
    }
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int) {
  const bool covers_fail = std::wstring_view(arguments).ends_with(L"covers");
  const bool no_timer = std::wstring_view(arguments).ends_with(L"no-timer");
  if (covers_fail) {
    SetWindowsHookExW(WH_CBT, RefuseCoversAfterTheFirst, nullptr, GetCurrentThreadId());
  }
  fq::win32::Win32Platform platform(instance, 1,
                                    no_timer ? nullptr : fq::win32::FindCreateTimer());
  try {
    FailingSurfaces failing(platform);
    fq::WorkSurfaces& surfaces =
        covers_fail || no_timer ? static_cast<fq::WorkSurfaces&>(platform) : failing;
    fq::ScaledStage stage(platform, surfaces, platform, 1);
    fq::Program program(platform, stage);
    program.Main();
  } catch (const std::exception&) {
    fq::win32::ReportFaultAndExit();
  }
  return 0;
}
