// An in-memory platform for unit tests: real surfaces with exact per-pixel raster operations
// and clipping, a cursor counter, a settings map, and a record of the calls that matter.
// Ending the process throws ProcessEnded instead of ending the test runner.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace fq::fake {

// Thrown by EndProcessNow; not a std::exception, so nothing in the core can catch it.
struct ProcessEnded {};

// Pixels are 0x00RRGGBB, row by row from the top-left corner.
struct Pixels {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> data;

  Pixels() = default;
  Pixels(int32_t w, int32_t h, uint32_t fill = 0);
  uint32_t at(int32_t x, int32_t y) const { return data[static_cast<size_t>(y) * width + x]; }
  uint32_t& at(int32_t x, int32_t y) { return data[static_cast<size_t>(y) * width + x]; }
};

// Combines a block of `source` into `destination` with the per-pixel effect of `op`;
// pixels that would fall outside either surface are dropped.
void Blit(Pixels& destination, int32_t x, int32_t y, int32_t width, int32_t height,
          const Pixels& source, int32_t source_x, int32_t source_y, RasterOp op);

// Empty when equal; otherwise how many pixels differ and the first difference.
std::string Difference(const Pixels& actual, const Pixels& expected);

// One stage's surfaces in memory: its window's pixels (SaverWindow), WorkScr, CleanScreen and
// Master, which is `sheet` once loaded.
class FakeSurfaces : public WorkSurfaces {
 public:
  explicit FakeSurfaces(std::vector<std::string>& calls) : calls_(calls) {}

  Pixels sheet{510, 256};
  std::map<SurfaceId, Pixels> surfaces;
  int64_t blits = 0;

  void LoadWorkSurfaces(const WorkFormDesign& design) override;
  void ResizeSurface(SurfaceId surface, Extent size) override;
  void BitBlt(SurfaceId destination, int32_t x, int32_t y, int32_t width, int32_t height,
              SurfaceId source, int32_t source_x, int32_t source_y, RasterOp op) override;
  void UnloadWorkSurfaces() override;

 private:
  std::vector<std::string>& calls_;
};

// A monitor beyond the primary: its area and scale, and its surfaces, the window's black.
struct FakeMonitor {
  FakeMonitor(const MonitorArea& area, const Pixels& sheet, std::vector<std::string>& calls);
  MonitorArea area;
  FakeSurfaces surfaces;
  Pixels& window() { return surfaces.surfaces.at(SurfaceId::SaverWindow); }
};

class FakePlatform : public Platform {
 public:
  // --- What a test sets up ---
  std::string argument_text;
  std::map<std::string, std::string> environment;
  // Another copy of the program was running at the start, and the titles of the top-level
  // windows of other programs.
  bool previous_instance = false;
  std::vector<std::string> other_windows;
  char decimal_separator = '.';
  float seconds_since_midnight = 0;
  std::map<std::string, std::string> store;  // by key; the application and section are fixed
  bool refuse_writes = false;
  std::optional<int32_t> password_verdict;  // nothing: the service cannot be loaded
  int32_t pointer_count = 0;
  Extent screen{1920, 1080};
  // The monitors beyond the primary, and whether they changed since the core last asked.
  std::vector<std::unique_ptr<FakeMonitor>> monitors;
  bool monitors_changed = true;
  // A monitor goes as a port's does: its surfaces are freed at once, and the core's references
  // stay valid until it asks again.
  void AddMonitor(const MonitorArea& area, const Pixels& monitor_sheet);
  void RemoveMonitor(size_t index);
  // Runs inside every yield; may throw ProcessEnded.
  std::function<void()> on_yield;
  // Runs inside every pause, where a port may handle events too (platform/pacing.h).
  std::function<void()> on_pause;

  // --- What a test reads back ---
  std::vector<std::string> calls;  // one line per call of interest, in order
  std::vector<std::string> error_messages;
  std::vector<int32_t> password_change_parents;
  int32_t pointer_steps = 0;
  int32_t yields = 0;
  std::vector<int32_t> pauses;
  bool saver_loaded = false;
  std::string saver_title;
  Extent saver_size;
  SaverEvents* saver_events = nullptr;
  bool dialog_loaded = false;
  std::map<DialogControl, std::string> control_texts;
  ConfigEvents* config_events = nullptr;
  // The saver window's client area and the off-screen surfaces: the primary's stage.
  FakeSurfaces primary{calls};
  Pixels& sheet = primary.sheet;
  std::map<SurfaceId, Pixels>& surfaces = primary.surfaces;
  int64_t& blits = primary.blits;
  Extent reported_client_size;

  Pixels& surface(SurfaceId id) { return surfaces.at(id); }
  int Count(std::string_view call) const;

  std::string ArgumentText() override { return argument_text; }
  [[noreturn]] void EndProcessNow() override;
  bool PreviousInstanceRunning() override { return previous_instance; }
  std::string EnvironmentVariable(std::string_view name) override;
  char DecimalSeparator() override { return decimal_separator; }
  bool TopLevelWindowExists(std::string_view title) override;
  void ChangeScreenSaverPassword(int32_t parent_window) override;
  std::optional<int32_t> VerifyScreenSaverPassword() override;
  void ClearScreenSaverRunning() override { calls.push_back("ClearScreenSaverRunning"); }

  std::optional<std::string> ReadSetting(std::string_view app, std::string_view section,
                                         std::string_view key) override;
  void WriteSetting(std::string_view app, std::string_view section, std::string_view key,
                    std::string_view value) override;

  Extent PrimaryScreenSize() override { return screen; }
  void LoadSaverWindow(const WindowDesign& design, SaverEvents& events) override;
  void SetSaverTitle(std::string_view title) override;
  void SetSaverOuterSize(Extent size) override;
  Extent SaverOuterSize() override { return saver_size; }
  // Borderless: the client area is the whole window.
  Extent SaverClientSize() override { return reported_client_size = saver_size; }
  bool SaverResized() override {
    return saver_size.width != reported_client_size.width ||
           saver_size.height != reported_client_size.height;
  }
  void ShowSaver() override { calls.push_back("ShowSaver"); }
  void MaximiseSaver() override;
  void RepaintSaver() override { calls.push_back("RepaintSaver"); }
  void MakeSaverTopmost() override { calls.push_back("MakeSaverTopmost"); }
  int32_t ChangePointerCount(bool show) override;

  void YieldToMessageLoop() override;
  void Pause(int32_t milliseconds) override;
  float SecondsSinceMidnight() override { return seconds_since_midnight; }

  bool OtherMonitorsChanged() override { return monitors_changed; }
  std::vector<MonitorArea> OtherMonitorAreas() override;
  WorkSurfaces& MonitorSurfaces(size_t index) override { return monitors.at(index)->surfaces; }

  void LoadWorkSurfaces(const WorkFormDesign& design) override { primary.LoadWorkSurfaces(design); }
  void ResizeSurface(SurfaceId surface, Extent size) override {
    primary.ResizeSurface(surface, size);
  }
  void BitBlt(SurfaceId destination, int32_t x, int32_t y, int32_t width, int32_t height,
              SurfaceId source, int32_t source_x, int32_t source_y, RasterOp op) override {
    primary.BitBlt(destination, x, y, width, height, source, source_x, source_y, op);
  }
  void UnloadWorkSurfaces() override { primary.UnloadWorkSurfaces(); }

  void LoadConfigDialog(const DialogLayout& layout, ConfigEvents& events) override;
  void ShowConfigDialog() override { calls.push_back("ShowConfigDialog"); }
  bool ConfigDialogLoaded() override { return dialog_loaded; }
  std::string ControlText(DialogControl control) override { return control_texts[control]; }
  void SetControlText(DialogControl control, std::string_view text) override;
  void DestroyConfigDialog() override;
  void ShowErrorMessage(std::string_view text) override { error_messages.emplace_back(text); }

 private:
  // The saver window's size as the system sets it, when it is made or maximised.
  void SizeSaver(Extent size);

  std::vector<std::unique_ptr<FakeMonitor>> gone_;
};

}  // namespace fq::fake
