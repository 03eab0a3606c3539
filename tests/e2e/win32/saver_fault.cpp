// fq_saver_fault.exe /s: the saver as the program runs it, but its drawing fails a second and
// a half into the frame loop, as on a system out of resources. test_monitors.py runs it under
// Wine to see where the fault's box appears and what ends it.
#include "platform/fault.h"
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

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  fq::win32::Win32Platform platform(instance, 1);
  try {
    FailingSurfaces surfaces(platform);
    fq::ScaledStage stage(platform, surfaces, platform, 1);
    fq::Program program(platform, stage);
    program.Main();
  } catch (const std::exception&) {
    fq::win32::ReportFaultAndExit();
  }
  return 0;
}
