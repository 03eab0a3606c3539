// Windows benchmark, run under Wine by scripts/bench.sh. It takes the scale k from the screen's
// DPI as the saver does, and draws through the same scaled stage, on every monitor as the saver
// does. Without arguments it prints the drawing time per frame of the real `FrameStep` on the
// real surfaces, for Count 8 and 30, against a bare loop of the same blits on the same surfaces
// in the same run, and, on one monitor, that bare loop again with the sheet kept whole in other
// formats (why the frames are converted at load, and what keeping the masks in monochrome
// costs).
// With "--paced SECONDS COUNT" it runs the bare loop paced like the saver at Speed 25, so that
// the script can measure its processor share from outside, as it does for the saver. With
// "--periods" it prints the frame period of the saver's loop at Speed 25 and 5 beside Speed plus
// the frame's work; "--periods no-timer" does so without the high-resolution timer, as on
// Windows before 10 1803.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
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

// One way of drawing the frames: the real frame step (no sheets given) or the bare loop on
// every stage, reading stage i's sheet from `sheets[i]`.
struct Contender : Timings {
  std::vector<SheetSource> sheets;
};

// Stage 0 is the saver window's, stage i the cover's over the scene's other monitor i - 1.
const win32::StageSurfaces& StageOf(const win32::Win32Platform& platform, size_t stage) {
  return stage == 0 ? platform.SaverStage() : platform.CoverStage(stage - 1);
}

// The bare loop of every stage, from the places of its flock's sprites now.
std::vector<BareBlits> BareStages(const win32::Win32Platform& platform, const Scene& scene,
                                  int16_t count) {
  std::vector<BareBlits> stages;
  stages.emplace_back(platform.SaverStage(), scene.Sprites(), count,
                      Extent{scene.ScreenW(), scene.ScreenH()});
  const MonitorFlocks& others = scene.OtherFlocks();
  for (size_t i = 0; i < others.size(); ++i) {
    stages.emplace_back(platform.CoverStage(i), others[i].Sprites(), count,
                        Extent{others[i].ScreenW(), others[i].ScreenH()});
  }
  return stages;
}

std::vector<SheetSource> ProgramSheets(const win32::Win32Platform& platform, size_t stages) {
  std::vector<SheetSource> sheets;
  for (size_t i = 0; i < stages; ++i) sheets.push_back(ProgramSheet(StageOf(platform, i)));
  return sheets;
}

void BareFrame(std::vector<BareBlits>& stages, const std::vector<SheetSource>& sheets) {
  for (size_t i = 0; i < stages.size(); ++i) stages[i].Frame(sheets[i]);
}

// The contenders take turns round by round, so that a slow spell of the machine hits them
// alike; the frame step goes first and each bare loop starts where the frame step's round
// started, so that they clip alike at the screens' edges. With other monitors, both draw on
// every one; the sheet's other formats are compared on the saver window alone.
void CompareDrawing(win32::Win32Platform& platform, ScaledStage& stage, int16_t count,
                    HINSTANCE instance) {
  BenchScene bench_scene(stage, stage, stage, platform, count);
  Scene& scene = bench_scene.scene();
  const int scale = stage.scale();
  const size_t stages = scene.OtherFlocks().size() + 1;
  const SheetCopy eight_bit(instance, scale, 0);
  const SheetCopy dib32(instance, scale, 32);
  std::vector<Contender> contenders = {
      {{"FrameStep", {}}, {}},
      {{"bare", {}}, ProgramSheets(platform, stages)},
  };
  if (stages == 1) {
    contenders.push_back({{"bare 8-bit sheet", {}}, {eight_bit.source(scale)}});
    contenders.push_back({{"bare 32-bit DIB sheet", {}}, {dib32.source(scale)}});
  }
  for (int round = 0; round < kRounds; ++round) {
    const std::vector<BareBlits> start = BareStages(platform, scene, count);
    for (Contender& contender : contenders) {
      std::vector<BareBlits> bare = start;
      contender.rounds.push_back(TimeRound([&] {
        if (contender.sheets.empty()) {
          scene.FrameStep();
        } else {
          BareFrame(bare, contender.sheets);
        }
      }));
      platform.YieldToMessageLoop();
    }
  }
  for (size_t i = 0; i < scene.OtherFlocks().size(); ++i) {
    const MonitorArea& monitor = scene.OtherFlocks().monitor(i);
    std::printf("Another monitor, drawn on by both: %dx%d, k = %d\n",
                monitor.area.width * monitor.scale, monitor.area.height * monitor.scale,
                monitor.scale);
  }
  PrintTimings(count, scene.ScreenW() * scale, scene.ScreenH() * scale, scale,
               {contenders.begin(), contenders.end()}, contenders[1]);
}

// The bare loop on every stage, paced as the saver runs.
void RunPacedBare(win32::Win32Platform& platform, ScaledStage& stage, double seconds,
                  int16_t count) {
  BenchScene bench_scene(stage, stage, stage, platform, count);
  std::vector<BareBlits> bare = BareStages(platform, bench_scene.scene(), count);
  const std::vector<SheetSource> sheets = ProgramSheets(platform, bare.size());
  RunPaced(platform, seconds, Seconds, [&] { BareFrame(bare, sheets); });
}

// The saver's loop at Count 8, one frame, the yield and the pause of `speed` ms, timed frame by
// frame: the whole period and the work before the pause.
void PrintFramePeriods(win32::Win32Platform& platform, ScaledStage& stage, bool timer) {
  constexpr int kFrames = 200;
  BenchScene bench_scene(stage, stage, stage, platform, 8);
  std::printf("Frame period over %d frames, Count 8, %s:\n", kFrames,
              timer ? "the high-resolution timer where the system has one" : "no timer");
  for (int speed : {25, 5}) {
    double work = 0;
    const double start = Seconds();
    for (int i = 0; i < kFrames; ++i) {
      const double frame_start = Seconds();
      bench_scene.scene().FrameStep();
      platform.YieldToMessageLoop();
      GdiFlush();
      work += Seconds() - frame_start;
      platform.Pause(speed);
    }
    const double period = (Seconds() - start) * 1000.0 / kFrames;
    std::printf("  Speed %2d: %7.3f ms a frame; Speed + the frame's work %7.3f ms (%+.3f)\n",
                speed, period, speed + work * 1000.0 / kFrames,
                period - speed - work * 1000.0 / kFrames);
  }
}

}  // namespace
}  // namespace fq::bench

int main(int argc, char** argv) {
  using namespace fq;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  const int scale = ScaleForDpi(win32::ScreenDpi());
  const bool periods = argc >= 2 && std::string_view(argv[1]) == "--periods";
  const bool timer = !(argc == 3 && periods && std::string_view(argv[2]) == "no-timer");
  win32::Win32Platform platform(instance, scale, timer ? win32::FindCreateTimer() : nullptr);
  ScaledStage stage(platform, platform, platform, scale);
  bench::IgnoredInput input;
  try {
    stage.LoadSaverWindow(kSaverDesign, input);
    stage.SetSaverOuterSize(stage.PrimaryScreenSize());
    if (periods) {
      bench::PrintFramePeriods(platform, stage, timer);
      return 0;
    }
    return bench::RunCommand(
        argc, argv,
        [&](double seconds, int16_t count) {
          bench::RunPacedBare(platform, stage, seconds, count);
        },
        [&](int16_t count) { bench::CompareDrawing(platform, stage, count, instance); });
  } catch (const std::exception& fault) {
    std::fprintf(stderr, "bench stopped: %s\n", fault.what());
    return 1;
  }
}
