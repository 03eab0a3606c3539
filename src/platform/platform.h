// The seam: every service the core asks of the operating system, in the core's own words.
// A port implements this class; the core never sees a window, device context or registry
// handle. Each function says what the core relies on, so a port can be written from here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/dialog_layout.h"

namespace fq {

// Block-transfer raster operations, per pixel and per bit: S, D AND S, D OR S.
enum class RasterOp : uint32_t {
  SrcCopy = 0x00CC0020,
  SrcAnd = 0x008800C6,
  SrcPaint = 0x00EE0086,
};

// Drawing targets: the saver window's client area and the three off-screen surfaces.
enum class SurfaceId { SaverWindow, WorkScr, CleanScreen, Master };

struct Extent {
  int32_t width = 0;
  int32_t height = 0;
};

// Input that reaches the saver window, pushed into the core as plain values.
class SaverEvents {
 public:
  virtual ~SaverEvents() = default;
  virtual void KeyDown(int16_t key_code, int16_t shift) = 0;
  virtual void MouseDown(int16_t button, int16_t shift, float x, float y) = 0;
  // x, y: pointer position in client pixels.
  virtual void MouseMove(int16_t button, int16_t shift, float x, float y) = 0;
  // The system asks the window to close (close box, Alt+F4, session end...).
  virtual void CloseRequested(int16_t reason) = 0;
};

// Buttons of the settings dialog.
class ConfigEvents {
 public:
  virtual ~ConfigEvents() = default;
  virtual void OkClicked() = 0;
  virtual void CancelClicked() = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // --- Process ---
  // The command line less the program's own path: the switch and whatever follows it.
  virtual std::string ArgumentText() = 0;
  // Ends the process at once: no window handler runs afterwards, nothing else is saved.
  // Never returns to the caller.
  [[noreturn]] virtual void EndProcessNow() = 0;
  // True exactly when another process of this program was running when this one started,
  // whatever its mode and file name.
  virtual bool PreviousInstanceRunning() = 0;
  // The value of an environment variable; empty text when it is not set.
  virtual std::string EnvironmentVariable(std::string_view name) = 0;
  // The user's locale decimal separator (one character).
  virtual char DecimalSeparator() = 0;
  // Seconds since local midnight, for seeding the random numbers.
  virtual float SecondsSinceMidnight() = 0;

  // --- Settings store (per user, text values by application, section and key) ---
  // The stored text, or nothing when the application, section or key is absent.
  virtual std::optional<std::string> ReadSetting(std::string_view app, std::string_view section,
                                                 std::string_view key) = 0;
  // Creates what is missing and replaces an existing value. Throws Fault when refused.
  virtual void WriteSetting(std::string_view app, std::string_view section, std::string_view key,
                            std::string_view value) = 0;

  // --- Operating-system screen-saver services ---
  // FindWindowA(no class, title): true when a top-level window has that title.
  virtual bool FindTopLevelWindow(std::string_view title) = 0;
  // PwdChangePasswordA("SCRSAVE", parent, 0, 0), bound at run time; result not reported.
  virtual void ChangeScreenSaverPassword(int32_t parent_window) = 0;
  // VerifyScreenSavePwd(saver window), bound at run time: its result, or nothing when the
  // password service cannot be loaded.
  virtual std::optional<int32_t> VerifyScreenSaverPassword() = 0;
  // SystemParametersInfoA(97, 0, &zero, 0): tells the system the screen saver no longer runs.
  virtual void ClearScreenSaverRunning() = 0;
  // ShowCursor(show): the new display count.
  virtual int32_t ShowCursor(bool show) = 0;
  // A modal box with the critical-error icon, one OK button and the application title;
  // returns once the user has dismissed it.
  virtual void ShowErrorMessage(std::string_view text) = 0;

  // --- Pacing ---
  // Handles every pending window event (the handlers run inside this call), then returns.
  virtual void YieldToMessageLoop() = 0;
  virtual void Pause(int32_t milliseconds) = 0;

  // --- Saver window (borderless, black, no retained image) ---
  virtual Extent PrimaryScreenSize() = 0;
  // Creates the window hidden, titled "Animation Code", if it does not exist yet; its input
  // goes to `events`. Throws Fault when the window cannot be created.
  virtual void LoadSaverWindow(SaverEvents& events) = 0;
  virtual bool SaverWindowLoaded() = 0;
  virtual void SetSaverTitle(std::string_view title) = 0;
  // Outer size in pixels; the position is not touched.
  virtual void SetSaverOuterSize(Extent size) = 0;
  virtual Extent SaverOuterSize() = 0;
  // Client-area size in pixels.
  virtual Extent SaverClientSize() = 0;
  // Shows the window without waiting (not modal).
  virtual void ShowSaver() = 0;
  virtual void MaximiseSaver() = 0;
  // Paints the window at once (black).
  virtual void RepaintSaver() = 0;
  // SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE).
  virtual void MakeSaverTopmost() = 0;
  virtual void DestroySaverWindow() = 0;

  // --- Off-screen surfaces (the hidden work form) ---
  // Creates the surfaces if they do not exist: Master holds the sprite sheet at 0, 0;
  // WorkScr and CleanScreen are black at a small design size.
  virtual void LoadWorkSurfaces() = 0;
  virtual bool WorkSurfacesLoaded() = 0;
  // New size in pixels; the surface becomes (and new area is) black.
  virtual void ResizeSurface(SurfaceId surface, Extent size) = 0;
  // BitBlt(destination, x, y, width, height, source, source x, source y, op): the block is
  // combined into the destination; what falls outside the destination is dropped.
  // The result is not looked at.
  virtual void BitBlt(SurfaceId destination, int32_t x, int32_t y, int32_t width, int32_t height,
                      SurfaceId source, int32_t source_x, int32_t source_y, RasterOp op) = 0;
  virtual void UnloadWorkSurfaces() = 0;

  // --- Settings dialog ---
  // Creates the dialog hidden from its layout, without owner, if it does not exist yet; the
  // buttons report to `events`. Throws Fault when the window cannot be created.
  virtual void LoadConfigDialog(const DialogLayout& layout, ConfigEvents& events) = 0;
  // Shows the loaded dialog without waiting (not modal), the focus on its first control.
  // Closing it from its frame destroys it and saves nothing.
  virtual void ShowConfigDialog() = 0;
  virtual bool ConfigDialogLoaded() = 0;
  // The text of a text box or button of the loaded dialog, exactly as it stands.
  virtual std::string ControlText(DialogControl control) = 0;
  virtual void SetControlText(DialogControl control, std::string_view text) = 0;
  virtual void DestroyConfigDialog() = 0;
};

}  // namespace fq
