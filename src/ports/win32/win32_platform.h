// The platform seam's real implementation on Win32. Each group of services lives in a file
// of its own (process, settings store, saver window, surfaces, dialog, the other monitors'
// covers, the foreground rules).
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/platform.h"
#include "ports/shared/forwarded_surfaces.h"
#include "stage_surfaces.h"

namespace fq::win32 {

// The title of every message box: the program's application title.
inline constexpr wchar_t kApplicationTitle[] = L"FlyingQuorlin";

// The program's window classes, by which copies of it know each other.
inline constexpr wchar_t kSaverClass[] = L"FlyingQuorlin.Saver";
inline constexpr wchar_t kCoverClass[] = L"FlyingQuorlin.Cover";
inline constexpr wchar_t kDialogClass[] = L"FlyingQuorlinConfig";


std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

// Runs a core handler from a window procedure: a Fault cannot cross the system's callback,
// so it is reported here and the process ends.
template <typename Handler>
void RunHandler(Handler&& handler);

// Throws the platform fault for a system call that failed: `what` failed, with the system's
// error code.
[[noreturn]] void ThrowSystemFault(const std::string& what);

// Shows the error box for the exception being handled (a Fault, or any std::exception) and
// ends the process with the fault exit code. Called only from a handler.
[[noreturn]] void ReportFaultAndExit();

// The BI_RLE8 bitmap resource `id` as an 8-bit DIB section; null (with the system's last
// error set) when it is missing, malformed or refused.
HBITMAP LoadRle8Bitmap(HINSTANCE instance, int id);
// The same for RCDATA `id` holding an uncompressed 8-bit BMP file in a zlib stream, the form of
// the pictures drawn for scales above 1 (resources/resource_ids.h).
HBITMAP LoadCompressedBitmap(HINSTANCE instance, int id);
// The sprite sheet drawn for `scale` (1 to kMaxScale), the same way: its layout is `scale` times
// animation/sheet_layout.h's.
HBITMAP LoadSpriteSheet(HINSTANCE instance, int scale);

// A monitor beyond the primary: its rectangle in virtual-screen pixels and the scale of its
// DPI.
struct PlacedMonitor {
  RECT area{};
  int scale = 1;
  bool operator==(const PlacedMonitor& other) const;
};

// The monitors as the system shows them: the primary's rectangle and every other one.
struct MonitorLayout {
  RECT primary{};
  std::vector<PlacedMonitor> others;
  bool operator==(const MonitorLayout& other) const;
};
// None while the system shows no monitor, or none that is primary.
std::optional<MonitorLayout> CurrentMonitorLayout();
// The primary monitor as the system's metrics give it, which Wine keeps at its size at start.
RECT PrimaryByMetrics();

// The system's pixels per inch, which the settings dialog is laid out for.
int ScreenDpi();
// The scale of a monitor's own DPI (platform/screen_scale.h); of the system's DPI where the
// system gives none per monitor (before Windows 8.1).
int MonitorScale(HMONITOR monitor);

struct WindowDestroyer {
  void operator()(HWND window) const { DestroyWindow(window); }
};
// A window destroyed with its owner.
using OwnedWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

// The stage of a monitor beyond the primary: the black window that covers it (its cover), and
// the surfaces of the flock on it.
struct MonitorStage {
  MonitorStage(SpriteSheets& sheets, const PlacedMonitor& placed)
      : monitor(placed), surfaces(sheets, placed.scale) {}
  const PlacedMonitor monitor;
  OwnedWindow window;
  StageSurfaces surfaces;
};

// kernel32's CreateWaitableTimerExW, looked up when the program starts (FindCreateTimer), so
// that a system without it still runs the program; null where it is missing.
using CreateTimerFunction = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, LPCWSTR, DWORD, DWORD);
CreateTimerFunction FindCreateTimer();

class Win32Platform : public ForwardedSurfaces<Win32Platform, Platform> {
 public:
  // `art_scale`: the scale of the pictures the saver window's surfaces take (platform/
  // screen_scale.h). The pause waits on a high-resolution timer made by `create_timer` where
  // the system grants one, on the system's clock otherwise (frame_pause.h).
  Win32Platform(HINSTANCE instance, int art_scale,
                CreateTimerFunction create_timer = FindCreateTimer());
  ~Win32Platform() override;
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  // Before a fault's box: the saver's windows are destroyed, their input goes nowhere, and
  // the pointer shows. The primary monitor's rectangle, for the box; none without a saver.
  std::optional<RECT> TakeDownSaverForFault();

  // True while a window of the program is loaded: the message loop runs as long as this.
  bool AnyWindowLoaded();
  // Gives the settings dialog its keyboard handling (Tab, Shift+Tab, Enter, Space, Escape);
  // true when the message was the dialog's and needs no further dispatch.
  bool TranslateDialogMessage(MSG& message);
  // The device context a surface of the saver window's stage is drawn through: the window's
  // own, or an off-screen bitmap's. Null while the surface does not exist, and always for
  // CleanScreen and Master.
  HDC DeviceContext(SurfaceId surface) const { return stage_.DeviceContext(surface); }
  // The saver window's surfaces, and those of the cover over monitor `index` of the last
  // answer of OtherMonitorAreas: what the benchmarks' bare loops draw on.
  const StageSurfaces& SaverStage() const { return stage_; }
  const StageSurfaces& CoverStage(size_t index) const { return covers_.at(index)->surfaces; }

  // SystemServices
  std::string ArgumentText() override;
  [[noreturn]] void EndProcessNow() override;
  bool PreviousInstanceRunning() override;
  std::string EnvironmentVariable(std::string_view name) override;
  char DecimalSeparator() override;
  bool TopLevelWindowExists(std::string_view title) override;
  void ChangeScreenSaverPassword(int32_t parent_window) override;
  std::optional<int32_t> VerifyScreenSaverPassword() override;
  void ClearScreenSaverRunning() override;
  // SettingsStore
  std::optional<std::string> ReadSetting(std::string_view app, std::string_view section,
                                         std::string_view key) override;
  void WriteSetting(std::string_view app, std::string_view section, std::string_view key,
                    std::string_view value) override;
  // SaverWindow
  Extent PrimaryScreenSize() override;
  void LoadSaverWindow(const WindowDesign& design, SaverEvents& events) override;
  void SetSaverTitle(std::string_view title) override;
  void SetSaverOuterSize(Extent size) override;
  Extent SaverOuterSize() override;
  Extent SaverClientSize() override;
  bool SaverResized() override;
  void ShowSaver() override;
  void MaximiseSaver() override;
  void RepaintSaver() override;
  void MakeSaverTopmost() override;
  int32_t ChangePointerCount(bool show) override;
  // OtherMonitors
  bool OtherMonitorsChanged() override { return covers_changed_; }
  std::vector<MonitorArea> OtherMonitorAreas() override;
  WorkSurfaces& MonitorSurfaces(size_t index) override { return covers_.at(index)->surfaces; }
  // Pacing
  void YieldToMessageLoop() override;
  void Pause(int32_t milliseconds) override;
  float SecondsSinceMidnight() override;
  // WorkSurfaces: the saver window's stage.
  WorkSurfaces* SurfacesNow() { return &stage_; }
  // SettingsDialog
  void LoadConfigDialog(const DialogLayout& layout, ConfigEvents& events) override;
  void ShowConfigDialog() override;
  bool ConfigDialogLoaded() override;
  std::string ControlText(DialogControl control) override;
  void SetControlText(DialogControl control, std::string_view text) override;
  void DestroyConfigDialog() override;
  void ShowErrorMessage(std::string_view text) override;

 private:
  HINSTANCE instance_;
  bool previous_instance_;
  HANDLE pause_timer_;  // null: the pause counts by the clock
  HWND saver_ = nullptr;
  HWND dialog_ = nullptr;
  ConfigEvents* config_events_ = nullptr;
  static INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wparam,
                                           LPARAM lparam);

  static LRESULT CALLBACK SaverProcedure(HWND window, UINT message, WPARAM wparam,
                                         LPARAM lparam);
  // A black cover over each monitor but the primary, as `monitors_` has them; `topmost` once
  // the saver is. A monitor that kept its place and scale keeps its cover; another gets a new
  // one, in the window of a cover that goes where there is one; the other covers go, with
  // their surfaces. All or nothing: a failure leaves the covers as they were.
  void CoverOtherMonitors(bool topmost);
  void MakeCoverWindow(MonitorStage& cover);
  // Once the saver shows: when the monitors are no longer as `monitors_` has them, or the
  // saver's windows are not shown over them in their places and sizes, the saver window takes
  // the primary's place and the covers the others', all restored and on top; after a change
  // of monitors, the pointer's position becomes its resting point. Asks the system `now`, or
  // at most a few times a second.
  // True when it found the monitors changed or missing: the pointer may have been moved by
  // the system, not by the user.
  bool KeepScreensCovered(bool now);
  bool SaverWindowsInPlace();
  // Takes a pointer move to `to` (screen coordinates); true when the system made it, taking
  // the pointer off a monitor that went away.
  bool RescuedFromLostMonitor(POINT to);
  // Called in every yield while the saver has lost activation: closes it when another
  // program's window holds the foreground, takes the foreground back when nobody does.
  void WatchForeground();

  SaverEvents* saver_events_ = nullptr;
  std::vector<std::unique_ptr<MonitorStage>> covers_;
  // Covers gone since the core last asked for the monitors: their surfaces are freed and draw
  // nowhere, but stay valid until then (platform/other_monitors.h).
  std::vector<std::unique_ptr<MonitorStage>> gone_covers_;
  bool covers_changed_ = true;
  MonitorLayout monitors_;
  // The system showed no monitor, or none primary, when last asked: `monitors_` is the last
  // layout it showed.
  bool monitors_missing_ = false;
  std::optional<POINT> last_pointer_;  // screen coordinates
  bool saver_shown_ = false;
  ULONGLONG last_layout_check_ = 0;
  Extent reported_client_{};
  bool lost_activation_ = false;
  SpriteSheets sheets_;
  StageSurfaces stage_;
};

template <typename Handler>
void RunHandler(Handler&& handler) {
  try {
    handler();
  } catch (const std::exception&) {
    ReportFaultAndExit();
  }
}

}  // namespace fq::win32
