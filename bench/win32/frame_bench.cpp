// Windows benchmark, run under Wine by scripts/bench.sh. It takes the scale k from the screen's
// DPI as the saver does, and draws through the same scaled stage. Without arguments it prints
// the drawing time per frame of the real `FrameStep` on the real surfaces, for Count 8 and 30,
// against a bare loop of the same blits on the same surfaces in the same run, and that bare
// loop again with the sheet kept whole in other formats (why the frames are converted at load,
// and what keeping the masks in monochrome costs).
// With "--paced SECONDS COUNT" it runs the bare loop paced like the saver at Speed 25, so that
// the script can measure its processor share from outside, as it does for the saver.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "animation/scene.h"
#include "animation/sheet_layout.h"
#include "bare_blits.h"
#include "ignored_input.h"
#include "method.h"
#include "platform/scaled_stage.h"
#include "platform/screen_scale.h"
#include "saver_window/saver_form.h"
#include "win32_platform.h"

namespace fq::bench {
namespace {

// A copy of the sheet in a memory device context, in a format of the bench's choosing.
class SheetCopy {
 public:
  // The sheet drawn for `scale`; bits 0: its 8-bit DIB as the program loads it; otherwise a DIB
  // section of that depth.
  SheetCopy(HINSTANCE instance, int scale, int bits) : dc_(CreateCompatibleDC(nullptr)) {
    HBITMAP sheet = win32::LoadSpriteSheet(instance, scale);
    if (bits == 0) {
      bitmap_ = sheet;
    } else {
      BITMAP info{};
      GetObjectW(sheet, sizeof info, &info);
      BITMAPINFO format{};
      format.bmiHeader = {sizeof(BITMAPINFOHEADER), info.bmWidth, -info.bmHeight, 1,
                          static_cast<WORD>(bits), BI_RGB, 0, 0, 0, 0, 0};
      void* pixels = nullptr;
      bitmap_ = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &pixels, nullptr, 0);
      HDC sheet_dc = CreateCompatibleDC(nullptr);
      HGDIOBJ previous = SelectObject(sheet_dc, sheet);
      original_ = SelectObject(dc_, bitmap_);
      ::BitBlt(dc_, 0, 0, info.bmWidth, info.bmHeight, sheet_dc, 0, 0, SRCCOPY);
      SelectObject(sheet_dc, previous);
      DeleteDC(sheet_dc);
      DeleteObject(sheet);
    }
    if (!original_) original_ = SelectObject(dc_, bitmap_);
  }
  SheetCopy(const SheetCopy&) = delete;
  SheetCopy& operator=(const SheetCopy&) = delete;
  ~SheetCopy() {
    SelectObject(dc_, original_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  SheetSource source(int scale) const { return {dc_, dc_, kSheetMaskRowY * scale}; }

 private:
  HDC dc_;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ original_ = nullptr;
};

double Seconds() {
  static const double ticks_per_second = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart);
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / ticks_per_second;
}

// Milliseconds per frame over one round; GdiFlush so that no batched call escapes the clock.
double TimeRound(const std::function<void()>& frame) {
  const double start = Seconds();
  for (int i = 0; i < kFramesPerRound; ++i) frame();
  GdiFlush();
  return (Seconds() - start) * 1000.0 / kFramesPerRound;
}

// One way of drawing the frames: the real frame step (no sheet given) or the bare loop
// reading the sheet from `sheet`.
struct Contender : Timings {
  std::optional<SheetSource> sheet;
};

SheetSource ProgramSheet(const win32::Win32Platform& platform) {
  return {platform.Sheet()->frames(), platform.Sheet()->masks(), 0};
}

// The contenders take turns round by round, so that a slow spell of the machine hits them
// alike, and each round starts every contender from the same sprite places, so that they
// clip alike at the screen's edges. The rounds start where the frame step left off.
void CompareDrawing(win32::Win32Platform& platform, ScaledStage& stage, int16_t count,
                    HINSTANCE instance) {
  BenchScene bench_scene(stage, stage, stage, platform, count);
  Scene& scene = bench_scene.scene();
  const Extent screen{scene.ScreenW(), scene.ScreenH()};
  const int scale = stage.scale();
  const SheetCopy eight_bit(instance, scale, 0);
  const SheetCopy dib32(instance, scale, 32);
  std::vector<Contender> contenders = {
      {{"FrameStep", {}}, std::nullopt},
      {{"bare", {}}, ProgramSheet(platform)},
      {{"bare 8-bit sheet", {}}, eight_bit.source(scale)},
      {{"bare 32-bit DIB sheet", {}}, dib32.source(scale)},
  };
  SpriteTable start = scene.Sprites();
  for (int round = 0; round < kRounds; ++round) {
    SpriteTable next = start;
    for (Contender& contender : contenders) {
      scene.Sprites() = start;
      BareBlits bare(platform, start, count, screen, scale);
      contender.rounds.push_back(TimeRound([&] {
        if (contender.sheet) {
          bare.Frame(*contender.sheet);
        } else {
          scene.FrameStep();
        }
      }));
      if (!contender.sheet) next = scene.Sprites();
      platform.YieldToMessageLoop();
    }
    start = next;
  }
  PrintTimings(count, screen.width * scale, screen.height * scale, scale,
               {contenders.begin(), contenders.end()}, contenders[1]);
}

// The bare loop paced as the saver runs.
void RunPacedBare(win32::Win32Platform& platform, ScaledStage& stage, double seconds,
                  int16_t count) {
  BenchScene bench_scene(stage, stage, stage, platform, count);
  Scene& scene = bench_scene.scene();
  BareBlits bare(platform, scene.Sprites(), count, {scene.ScreenW(), scene.ScreenH()},
                 stage.scale());
  const SheetSource sheet = ProgramSheet(platform);
  RunPaced(platform, seconds, Seconds, [&] { bare.Frame(sheet); });
}

}  // namespace
}  // namespace fq::bench

int main(int argc, char** argv) {
  using namespace fq;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  const int scale = ScaleForDpi(win32::ScreenDpi());
  win32::Win32Platform platform(instance, scale);
  ScaledStage stage(platform, platform, platform, scale);
  bench::IgnoredInput input;
  try {
    stage.LoadSaverWindow(kSaverDesign, input);
    stage.SetSaverOuterSize(stage.PrimaryScreenSize());
    if (argc == 4 && std::string_view(argv[1]) == "--paced") {
      bench::RunPacedBare(platform, stage, std::atof(argv[2]),
                          static_cast<int16_t>(std::atoi(argv[3])));
    } else if (argc == 1) {
      for (int16_t count : {8, 30}) bench::CompareDrawing(platform, stage, count, instance);
    } else {
      std::fprintf(stderr, "usage: %s [--paced SECONDS COUNT]\n", argv[0]);
      return 2;
    }
  } catch (const std::exception& fault) {
    std::fprintf(stderr, "bench stopped: %s\n", fault.what());
    return 1;
  }
  return 0;
}
