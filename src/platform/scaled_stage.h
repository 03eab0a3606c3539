// The core's saver window and surfaces shown on a port at a whole-number scale k: the core
// keeps drawing in its own pixels (1/96 inch), as on a 96-dpi screen, and this adapter turns
// them into the port's physical pixels. Block transfers and the sizes the core sets are
// multiplied by k; the sizes and pointer positions the core reads are divided by k, rounded
// down, so a column or row left over is never drawn and stays black. At k = 1 every call
// passes through unchanged. The port holds the art drawn for the same k.
//
// Each monitor beyond the primary has a k of its own: its surfaces pass through an adapter at
// its k, and a pointer move is counted in the core's pixels of the monitor where it starts.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/other_monitors.h"
#include "platform/saver_window.h"
#include "platform/work_surfaces.h"

namespace fq {

class ScaledSurfaces : public WorkSurfaces {
 public:
  ScaledSurfaces(WorkSurfaces& surfaces, int scale) : surfaces_(surfaces), scale_(scale) {}

  int scale() const { return scale_; }

  void LoadWorkSurfaces(const WorkFormDesign& design) override;
  void ResizeSurface(SurfaceId surface, Extent size) override;
  void BitBlt(SurfaceId destination, int32_t x, int32_t y, int32_t width, int32_t height,
              SurfaceId source, int32_t source_x, int32_t source_y, RasterOp op) override;
  void UnloadWorkSurfaces() override { surfaces_.UnloadWorkSurfaces(); }

 protected:
  int32_t Up(int32_t pixels) const { return pixels * scale_; }
  Extent Up(Extent size) const { return {Up(size.width), Up(size.height)}; }
  Extent Down(Extent size) const { return {size.width / scale_, size.height / scale_}; }

 private:
  WorkSurfaces& surfaces_;
  const int scale_;
};

class ScaledStage : public SaverWindow,
                    public ScaledSurfaces,
                    public OtherMonitors,
                    private SaverEvents {
 public:
  // `scale`: the primary's k. `others`: the monitors beyond it, each at the k the port gives.
  ScaledStage(SaverWindow& window, WorkSurfaces& surfaces, OtherMonitors& others, int scale)
      : ScaledSurfaces(surfaces, scale), window_(window), others_(others) {}

  // SaverWindow
  Extent PrimaryScreenSize() override { return Down(window_.PrimaryScreenSize()); }
  void LoadSaverWindow(const WindowDesign& design, SaverEvents& events) override;
  void SetSaverTitle(std::string_view title) override { window_.SetSaverTitle(title); }
  void SetSaverOuterSize(Extent size) override { window_.SetSaverOuterSize(Up(size)); }
  Extent SaverOuterSize() override { return Down(window_.SaverOuterSize()); }
  Extent SaverClientSize() override { return Down(window_.SaverClientSize()); }
  bool SaverResized() override { return window_.SaverResized(); }
  void ShowSaver() override { window_.ShowSaver(); }
  void MaximiseSaver() override { window_.MaximiseSaver(); }
  void RepaintSaver() override { window_.RepaintSaver(); }
  void MakeSaverTopmost() override { window_.MakeSaverTopmost(); }
  int32_t ChangePointerCount(bool show) override { return window_.ChangePointerCount(show); }

  // OtherMonitors: each monitor's area divided by its k, and its surfaces at its k.
  bool OtherMonitorsChanged() override { return others_.OtherMonitorsChanged(); }
  std::vector<MonitorArea> OtherMonitorAreas() override;
  WorkSurfaces& MonitorSurfaces(size_t index) override { return monitor_surfaces_[index]; }

 private:
  // The port's input, on its way to the core's handlers.
  void KeyDown(int16_t key_code, int16_t shift) override;
  void MouseDown(int16_t button, int16_t shift, float x, float y) override;
  void MouseMove(int16_t button, int16_t shift, float x, float y) override;
  void CloseRequested(int16_t reason) override;
  void PointerPlaced(float x, float y) override;

  // The k of the monitor that holds the physical point x, y; the primary's off the others.
  int ScaleAt(float x, float y) const;
  static float Down(float position, int scale);
  // The pointer's last physical position, and the k the core's copy of it was divided by.
  struct PointerSeen {
    float x = 0;
    float y = 0;
    int scale = 1;
  };

  using ScaledSurfaces::Down;
  SaverWindow& window_;
  OtherMonitors& others_;
  SaverEvents* events_ = nullptr;
  std::vector<MonitorArea> monitors_;
  // Rebuilt with each answer (platform/other_monitors.h), never grown after: the core holds
  // references to its elements.
  std::vector<ScaledSurfaces> monitor_surfaces_;
  std::optional<PointerSeen> last_pointer_;
};

}  // namespace fq
