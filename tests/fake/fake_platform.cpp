#include "fake/fake_platform.h"

#include <algorithm>

#include "platform/fault.h"

namespace fq::fake {

Pixels::Pixels(int32_t w, int32_t h, uint32_t fill)
    : width(w), height(h), data(static_cast<size_t>(w) * h, fill) {}

void Blit(Pixels& destination, int32_t x, int32_t y, int32_t width, int32_t height,
          const Pixels& source, int32_t source_x, int32_t source_y, RasterOp op) {
  for (int32_t row = 0; row < height; ++row) {
    const int32_t dy = y + row;
    const int32_t sy = source_y + row;
    if (dy < 0 || dy >= destination.height || sy < 0 || sy >= source.height) continue;
    for (int32_t column = 0; column < width; ++column) {
      const int32_t dx = x + column;
      const int32_t sx = source_x + column;
      if (dx < 0 || dx >= destination.width || sx < 0 || sx >= source.width) continue;
      const uint32_t s = source.at(sx, sy);
      uint32_t& d = destination.at(dx, dy);
      switch (op) {
        case RasterOp::SrcCopy: d = s; break;
        case RasterOp::SrcAnd: d &= s; break;
        case RasterOp::SrcPaint: d |= s; break;
      }
    }
  }
}

std::string FakePlatform::StoreKey(std::string_view app, std::string_view section,
                                   std::string_view key) {
  return std::string(app) + "\\" + std::string(section) + "\\" + std::string(key);
}

std::string FakePlatform::ArgumentText() { return argument_text; }

void FakePlatform::EndProcessNow() {
  calls.push_back("EndProcessNow");
  throw ProcessEnded{};
}

bool FakePlatform::PreviousInstanceRunning() { return previous_instance; }

std::string FakePlatform::EnvironmentVariable(std::string_view name) {
  const auto found = environment.find(std::string(name));
  return found == environment.end() ? std::string() : found->second;
}

char FakePlatform::DecimalSeparator() { return decimal_separator; }

float FakePlatform::SecondsSinceMidnight() { return seconds_since_midnight; }

std::optional<std::string> FakePlatform::ReadSetting(std::string_view app,
                                                     std::string_view section,
                                                     std::string_view key) {
  calls.push_back("ReadSetting " + std::string(key));
  const auto found = store.find(StoreKey(app, section, key));
  if (found == store.end()) return std::nullopt;
  return found->second;
}

void FakePlatform::WriteSetting(std::string_view app, std::string_view section,
                                std::string_view key, std::string_view value) {
  calls.push_back("WriteSetting " + std::string(key) + "=" + std::string(value));
  if (refuse_writes) throw Fault(FaultKind::PlatformFailure, "The settings store refused a write.");
  store[StoreKey(app, section, key)] = std::string(value);
}

bool FakePlatform::FindTopLevelWindow(std::string_view title) {
  calls.push_back("FindTopLevelWindow " + std::string(title));
  find_window_titles.emplace_back(title);
  return foreign_window_titles.count(std::string(title)) > 0 ||
         (saver_loaded && saver_title == title);
}

void FakePlatform::ChangeScreenSaverPassword(int32_t parent_window) {
  calls.push_back("ChangeScreenSaverPassword " + std::to_string(parent_window));
  password_change_parents.push_back(parent_window);
}

std::optional<int32_t> FakePlatform::VerifyScreenSaverPassword() {
  calls.push_back("VerifyScreenSaverPassword");
  return password_verdict;
}

void FakePlatform::ClearScreenSaverRunning() {
  calls.push_back("ClearScreenSaverRunning");
  ++clear_screen_saver_running_calls;
}

int32_t FakePlatform::ShowCursor(bool show) {
  if (show) {
    ++show_cursor_true_calls;
    return ++cursor_count;
  }
  ++show_cursor_false_calls;
  return --cursor_count;
}

void FakePlatform::ShowErrorMessage(std::string_view text) {
  calls.push_back("ShowErrorMessage");
  error_messages.emplace_back(text);
}

void FakePlatform::YieldToMessageLoop() {
  ++yields;
  if (on_yield) on_yield();
}

void FakePlatform::Pause(int32_t milliseconds) { pauses.push_back(milliseconds); }

Extent FakePlatform::PrimaryScreenSize() { return screen; }

void FakePlatform::LoadSaverWindow(SaverEvents& events) {
  saver_events = &events;
  if (saver_loaded) return;
  calls.push_back("LoadSaverWindow");
  saver_loaded = true;
  saver_title = "Animation Code";
  saver_outer = {532, 368};
  surfaces[SurfaceId::SaverWindow] = Pixels(saver_outer.width, saver_outer.height);
}

bool FakePlatform::SaverWindowLoaded() { return saver_loaded; }

void FakePlatform::SetSaverTitle(std::string_view title) {
  calls.push_back("SetSaverTitle " + std::string(title));
  saver_title = std::string(title);
}

void FakePlatform::SetSaverOuterSize(Extent size) {
  calls.push_back("SetSaverOuterSize " + std::to_string(size.width) + "x" +
                  std::to_string(size.height));
  saver_outer = size;
  surfaces[SurfaceId::SaverWindow] = Pixels(size.width, size.height);
}

Extent FakePlatform::SaverOuterSize() { return saver_outer; }

// Borderless: the client area is the whole window.
Extent FakePlatform::SaverClientSize() { return saver_outer; }

void FakePlatform::ShowSaver() {
  calls.push_back("ShowSaver");
  saver_visible = true;
}

void FakePlatform::MaximiseSaver() {
  calls.push_back("MaximiseSaver");
  saver_maximised = true;
  saver_outer = screen;
  surfaces[SurfaceId::SaverWindow] = Pixels(screen.width, screen.height);
}

void FakePlatform::RepaintSaver() { calls.push_back("RepaintSaver"); }

void FakePlatform::MakeSaverTopmost() {
  calls.push_back("MakeSaverTopmost");
  saver_topmost = true;
}

void FakePlatform::DestroySaverWindow() {
  calls.push_back("DestroySaverWindow");
  saver_loaded = false;
  saver_visible = false;
}

void FakePlatform::LoadWorkSurfaces() {
  if (work_loaded) return;
  calls.push_back("LoadWorkSurfaces");
  work_loaded = true;
  surfaces[SurfaceId::Master] = sheet;
  surfaces[SurfaceId::WorkScr] = Pixels(39, 41);
  surfaces[SurfaceId::CleanScreen] = Pixels(33, 41);
}

bool FakePlatform::WorkSurfacesLoaded() { return work_loaded; }

void FakePlatform::ResizeSurface(SurfaceId surface, Extent size) {
  surfaces[surface] = Pixels(size.width, size.height);
}

void FakePlatform::BitBlt(SurfaceId destination, int32_t x, int32_t y, int32_t width,
                          int32_t height, SurfaceId source, int32_t source_x, int32_t source_y,
                          RasterOp op) {
  ++blits;
  Blit(surfaces.at(destination), x, y, width, height, surfaces.at(source), source_x, source_y,
       op);
}

void FakePlatform::UnloadWorkSurfaces() {
  calls.push_back("UnloadWorkSurfaces");
  work_loaded = false;
}

void FakePlatform::LoadConfigDialog(const DialogLayout& layout, ConfigEvents& events) {
  config_events = &events;
  if (dialog_loaded) return;
  calls.push_back("LoadConfigDialog");
  dialog_loaded = true;
  dialog_layout = layout;
  for (const ControlDefinition& control : layout.controls) {
    if (control.role) control_texts[*control.role] = control.text;
  }
}

void FakePlatform::ShowConfigDialog() {
  calls.push_back("ShowConfigDialog");
  dialog_visible = true;
}

bool FakePlatform::ConfigDialogLoaded() { return dialog_loaded; }

std::string FakePlatform::ControlText(DialogControl control) { return control_texts[control]; }

void FakePlatform::SetControlText(DialogControl control, std::string_view text) {
  control_texts[control] = std::string(text);
}

void FakePlatform::DestroyConfigDialog() {
  calls.push_back("DestroyConfigDialog");
  dialog_loaded = false;
  dialog_visible = false;
}

}  // namespace fq::fake
