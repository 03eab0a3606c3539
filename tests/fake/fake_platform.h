// An in-memory platform for unit tests: real surfaces with exact per-pixel raster
// operations and clipping, a cursor counter, a settings map, and a record of the calls.
// Ending the process throws ProcessEnded instead of ending the test runner.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
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

class FakePlatform : public Platform {
 public:
  // --- What a test sets up ---
  std::string argument_text;
  bool previous_instance = false;
  std::map<std::string, std::string> environment;
  char decimal_separator = '.';
  float seconds_since_midnight = 0;
  // Stored settings by "app\section\key".
  std::map<std::string, std::string> store;
  bool refuse_writes = false;
  std::set<std::string> foreign_window_titles;
  std::optional<int32_t> password_verdict;  // nothing: the service cannot be loaded
  int32_t cursor_count = 0;
  Extent screen{1920, 1080};
  Pixels sheet{510, 256};
  // Runs inside every yield, after the events queued below; may throw ProcessEnded.
  std::function<void()> on_yield;

  // --- What a test reads back ---
  std::vector<std::string> calls;  // one line per call of interest, in order
  std::vector<std::string> error_messages;
  std::vector<int32_t> password_change_parents;
  int32_t show_cursor_false_calls = 0;
  int32_t show_cursor_true_calls = 0;
  int32_t clear_screen_saver_running_calls = 0;
  int32_t yields = 0;
  std::vector<int32_t> pauses;
  std::vector<std::string> find_window_titles;

  // Saver window state.
  bool saver_loaded = false;
  bool saver_visible = false;
  bool saver_maximised = false;
  bool saver_topmost = false;
  std::string saver_title;
  Extent saver_outer;
  SaverEvents* saver_events = nullptr;

  // Dialog state.
  bool dialog_loaded = false;
  bool dialog_visible = false;
  std::optional<DialogLayout> dialog_layout;
  std::map<DialogControl, std::string> control_texts;
  ConfigEvents* config_events = nullptr;

  // Surfaces, the saver window's client area included.
  bool work_loaded = false;
  std::map<SurfaceId, Pixels> surfaces;
  int64_t blits = 0;

  static std::string StoreKey(std::string_view app, std::string_view section,
                              std::string_view key);
  Pixels& surface(SurfaceId id) { return surfaces.at(id); }

  // --- Platform ---
  std::string ArgumentText() override;
  [[noreturn]] void EndProcessNow() override;
  bool PreviousInstanceRunning() override;
  std::string EnvironmentVariable(std::string_view name) override;
  char DecimalSeparator() override;
  float SecondsSinceMidnight() override;
  std::optional<std::string> ReadSetting(std::string_view app, std::string_view section,
                                         std::string_view key) override;
  void WriteSetting(std::string_view app, std::string_view section, std::string_view key,
                    std::string_view value) override;
  bool FindTopLevelWindow(std::string_view title) override;
  void ChangeScreenSaverPassword(int32_t parent_window) override;
  std::optional<int32_t> VerifyScreenSaverPassword() override;
  void ClearScreenSaverRunning() override;
  int32_t ShowCursor(bool show) override;
  void ShowErrorMessage(std::string_view text) override;
  void YieldToMessageLoop() override;
  void Pause(int32_t milliseconds) override;
  Extent PrimaryScreenSize() override;
  void LoadSaverWindow(SaverEvents& events) override;
  bool SaverWindowLoaded() override;
  void SetSaverTitle(std::string_view title) override;
  void SetSaverOuterSize(Extent size) override;
  Extent SaverOuterSize() override;
  Extent SaverClientSize() override;
  void ShowSaver() override;
  void MaximiseSaver() override;
  void RepaintSaver() override;
  void MakeSaverTopmost() override;
  void DestroySaverWindow() override;
  void LoadWorkSurfaces() override;
  bool WorkSurfacesLoaded() override;
  void ResizeSurface(SurfaceId surface, Extent size) override;
  void BitBlt(SurfaceId destination, int32_t x, int32_t y, int32_t width, int32_t height,
              SurfaceId source, int32_t source_x, int32_t source_y, RasterOp op) override;
  void UnloadWorkSurfaces() override;
  void LoadConfigDialog(const DialogLayout& layout, ConfigEvents& events) override;
  void ShowConfigDialog() override;
  bool ConfigDialogLoaded() override;
  std::string ControlText(DialogControl control) override;
  void SetControlText(DialogControl control, std::string_view text) override;
  void DestroyConfigDialog() override;
};

}  // namespace fq::fake
