#include "fake/fake_platform.h"

#include <algorithm>
#include <string>
#include <stdexcept>

#include "base/fault.h"
#include "startup/settings.h"

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

std::string Difference(const Pixels& actual, const Pixels& expected) {
  if (actual.width != expected.width || actual.height != expected.height) return "sizes differ";
  int differing = 0;
  std::string first;
  for (int y = 0; y < actual.height; ++y) {
    for (int x = 0; x < actual.width; ++x) {
      if (actual.at(x, y) == expected.at(x, y)) continue;
      if (differing++ == 0) {
        first = "at " + std::to_string(x) + ", " + std::to_string(y) + ": " +
                std::to_string(actual.at(x, y)) + " instead of " + std::to_string(expected.at(x, y));
      }
    }
  }
  return differing == 0 ? "" : std::to_string(differing) + " pixels differ, first " + first;
}

int FakePlatform::Count(std::string_view call) const {
  return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

void FakePlatform::EndProcessNow() {
  calls.push_back("EndProcessNow");
  throw ProcessEnded{};
}

std::string FakePlatform::EnvironmentVariable(std::string_view name) {
  const auto found = environment.find(std::string(name));
  return found == environment.end() ? std::string() : found->second;
}

bool FakePlatform::TopLevelWindowExists(std::string_view title) {
  return (saver_loaded && saver_title == title) ||
         std::find(other_windows.begin(), other_windows.end(), title) != other_windows.end();
}

void FakePlatform::ChangeScreenSaverPassword(int32_t parent_window) {
  password_change_parents.push_back(parent_window);
}

std::optional<int32_t> FakePlatform::VerifyScreenSaverPassword() {
  calls.push_back("VerifyScreenSaverPassword");
  return password_verdict;
}

std::optional<std::string> FakePlatform::ReadSetting(std::string_view app,
                                                     std::string_view section,
                                                     std::string_view key) {
  calls.push_back("ReadSetting " + std::string(key));
  const auto found = store.find(std::string(key));
  if (app != kSettingsApp || section != kSettingsSection || found == store.end()) {
    return std::nullopt;
  }
  return found->second;
}

void FakePlatform::WriteSetting(std::string_view app, std::string_view section,
                                std::string_view key, std::string_view value) {
  calls.push_back("WriteSetting " + std::string(key) + "=" + std::string(value));
  if (refuse_writes) throw Fault(FaultKind::PlatformFailure, "The settings store refused a write.");
  if (app == kSettingsApp && section == kSettingsSection) store[std::string(key)] = value;
}

void FakePlatform::LoadSaverWindow(const WindowDesign& design, SaverEvents& events) {
  saver_events = &events;
  if (saver_loaded) return;
  calls.push_back("LoadSaverWindow");
  saver_loaded = true;
  saver_title = design.title;
  SizeSaver({design.rect.width, design.rect.height});
}

void FakePlatform::SetSaverTitle(std::string_view title) {
  calls.push_back("SetSaverTitle " + std::string(title));
  saver_title = title;
}

void FakePlatform::SetSaverOuterSize(Extent size) {
  calls.push_back("SetSaverOuterSize " + std::to_string(size.width) + "x" +
                  std::to_string(size.height));
  SizeSaver(size);
}

void FakePlatform::SizeSaver(Extent size) {
  saver_size = size;
  surfaces[SurfaceId::SaverWindow] = Pixels(size.width, size.height);
}

void FakePlatform::MaximiseSaver() {
  calls.push_back("MaximiseSaver");
  SizeSaver(screen);
}

int32_t FakePlatform::ChangePointerCount(bool show) {
  ++pointer_steps;
  return show ? ++pointer_count : --pointer_count;
}

void FakePlatform::YieldToMessageLoop() {
  calls.push_back("Yield");
  ++yields;
  if (on_yield) on_yield();
}

void FakePlatform::Pause(int32_t milliseconds) {
  pauses.push_back(milliseconds);
  if (on_pause) on_pause();
}

void FakeSurfaces::LoadWorkSurfaces(const WorkFormDesign& design) {
  if (surfaces.count(SurfaceId::Master)) return;
  calls_.push_back("LoadWorkSurfaces");
  surfaces[SurfaceId::Master] = sheet;
  ResizeSurface(SurfaceId::WorkScr, design.WorkScr);
  ResizeSurface(SurfaceId::CleanScreen, design.CleanScreen);
}

void FakeSurfaces::ResizeSurface(SurfaceId surface, Extent size) {
  surfaces[surface] = Pixels(size.width, size.height);
}

void FakeSurfaces::BitBlt(SurfaceId destination, int32_t x, int32_t y, int32_t width,
                          int32_t height, SurfaceId source, int32_t source_x, int32_t source_y,
                          RasterOp op) {
  ++blits;
  // Ports may keep CleanScreen as a size alone and Master in parts (platform/work_surfaces.h).
  if (destination == SurfaceId::CleanScreen || destination == SurfaceId::Master) {
    throw std::logic_error("a blit into a surface that is only read");
  }
  const auto target = surfaces.find(destination);
  if (target == surfaces.end()) return;  // a monitor that went draws nowhere
  Blit(target->second, x, y, width, height, surfaces.at(source), source_x, source_y, op);
}

void FakeSurfaces::UnloadWorkSurfaces() {
  calls_.push_back("UnloadWorkSurfaces");
  std::erase_if(surfaces, [](const auto& entry) { return entry.first != SurfaceId::SaverWindow; });
}

FakeMonitor::FakeMonitor(const MonitorArea& monitor_area, const Pixels& sheet,
                         std::vector<std::string>& calls)
    : area(monitor_area), surfaces(calls) {
  surfaces.sheet = sheet;
  surfaces.surfaces[SurfaceId::SaverWindow] = Pixels(area.area.width, area.area.height);
}

void FakePlatform::AddMonitor(const MonitorArea& area, const Pixels& monitor_sheet) {
  monitors.push_back(std::make_unique<FakeMonitor>(area, monitor_sheet, calls));
  monitors_changed = true;
}

void FakePlatform::RemoveMonitor(size_t index) {
  monitors.at(index)->surfaces.surfaces.clear();
  gone_.push_back(std::move(monitors[index]));
  monitors.erase(monitors.begin() + static_cast<std::ptrdiff_t>(index));
  monitors_changed = true;
}

std::vector<MonitorArea> FakePlatform::OtherMonitorAreas() {
  gone_.clear();
  monitors_changed = false;
  std::vector<MonitorArea> areas;
  for (const auto& monitor : monitors) areas.push_back(monitor->area);
  return areas;
}

void FakePlatform::LoadConfigDialog(const DialogLayout& layout, ConfigEvents& events) {
  config_events = &events;
  if (dialog_loaded) return;
  calls.push_back("LoadConfigDialog");
  dialog_loaded = true;
  for (const ControlDefinition& control : layout.controls) {
    if (control.role) control_texts[*control.role] = control.text;
  }
}

void FakePlatform::SetControlText(DialogControl control, std::string_view text) {
  control_texts[control] = text;
}

void FakePlatform::DestroyConfigDialog() {
  calls.push_back("DestroyConfigDialog");
  dialog_loaded = false;
}

}  // namespace fq::fake
