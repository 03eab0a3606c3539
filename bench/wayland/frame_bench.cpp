// Wayland benchmark, run by scripts/bench.sh under a headless sway with one output (the layer
// shell) and under a headless gnome-shell with two (fullscreen windows). Without arguments it
// prints the time per frame of the real `FrameStep` and the yield that presents it on the
// Wayland port, for Count 8 and 30, against a bare loop that draws the same cells into the same
// shared-memory buffers of every output, damages them and commits, in the same run. With
// "--paced SECONDS COUNT" it runs the bare loop paced like the saver at Speed 25, so that the
// script can measure its processor share from outside, as it does for the saver.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "animation/scene.h"
#include "bare_cells.h"
#include "ignored_input.h"
#include "method.h"
#include "platform/scaled_stage.h"
#include "ports/unix/embedded_sheets.h"
#include "saver_window/saver_form.h"
#include "wayland_platform.h"

namespace fq::bench {
namespace {

using wayland::Blit;
using wayland::FillBlack;
using wayland::PixelView;

// The frame step's blits with nothing around them: its own WorkScr, the sheet, the primary
// output's buffers.
class BareBlits {
 public:
  BareBlits(wayland::MonitorStage& stage, const Picture& sheet, const SpriteTable& sprites,
            int count, Extent screen)
      : frame_(stage.frame()),
        sheet_{const_cast<uint32_t*>(sheet.pixels.data()), sheet.width, sheet.height},
        work_(static_cast<size_t>(screen.width) * screen.height),
        screen_(screen),
        cells_(sprites, count, screen) {}

  void Frame() {
    constexpr int cell = kSheetCell;
    constexpr int block = kSheetDrawnBlock;
    const PixelView work{work_.data(), screen_.width, screen_.height};
    for (int i = 0; i < cells_.count(); ++i) FillBlack(work, {cells_[i].x, cells_[i].y, cell, cell});
    const int column = cells_.NextColumn();
    for (int i = 0; i < cells_.count(); ++i) {
      const Cell& sprite = cells_.Move(i);
      Blit(work, sprite.x, sprite.y, block, block, sheet_, column, kSheetMaskRowY, RasterOp::SrcAnd);
      Blit(work, sprite.x, sprite.y, block, block, sheet_, column, 0, RasterOp::SrcPaint);
    }
    const PixelView window = frame_.Drawing();
    for (int i = 0; i < cells_.count(); ++i) {
      const Cell& c = cells_[i];
      Blit(window, c.x, c.y, cell, cell, work, c.x, c.y, RasterOp::SrcCopy);
      frame_.Damage({c.x, c.y, cell, cell});
    }
  }

 private:
  wayland::FrameBuffers& frame_;
  PixelView sheet_;
  std::vector<uint32_t> work_;
  Extent screen_;
  BareCells cells_;
};

// The bare loop on every output shown, as the frame step draws a flock on each: each from the
// primary's sprite places, wrapping within its own output.
class BareLoops {
 public:
  BareLoops(wayland::WaylandPlatform& platform, const Picture& sheet, const SpriteTable& sprites,
            int count) {
    const std::vector<wayland::MonitorStage*> shown = platform.Shown();
    loops_.reserve(shown.size());
    for (wayland::MonitorStage* stage : shown) {
      loops_.emplace_back(*stage, sheet, sprites, count, stage->size());
    }
  }
  void Frame() {
    for (BareBlits& loop : loops_) loop.Frame();
  }

 private:
  std::vector<BareBlits> loops_;
};

double Seconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The two take turns round by round, each from the same sprite places; every frame ends with
// the yield, which commits it and handles the compositor's events.
void CompareDrawing(wayland::WaylandPlatform& platform, ScaledStage& stage, const Picture& sheet,
                    int16_t count) {
  BenchScene bench_scene(stage, stage, stage, platform, count);
  Scene& scene = bench_scene.scene();
  std::vector<Timings> ways = {{"FrameStep + yield", {}}, {"bare + yield", {}}};
  SpriteTable start = scene.Sprites();
  const Extent screen{scene.ScreenW(), scene.ScreenH()};
  for (int round = 0; round < kRounds; ++round) {
    for (Timings& way : ways) {
      const bool step = &way == &ways[0];
      scene.Sprites() = start;
      BareLoops bare(platform, sheet, start, count);
      const double begin = Seconds();
      for (int i = 0; i < kFramesPerRound; ++i) {
        step ? scene.FrameStep() : bare.Frame();
        platform.YieldToMessageLoop();
      }
      way.rounds.push_back((Seconds() - begin) * 1000.0 / kFramesPerRound);
      if (step) start = scene.Sprites();
    }
  }
  PrintTimings(count, screen.width, screen.height, platform.scale(), ways, ways[1]);
}

}  // namespace
}  // namespace fq::bench

int main(int argc, char** argv) {
  using namespace fq;
  try {
    wayland::WaylandPlatform platform(0);
    ScaledStage stage(platform, platform, platform, platform.scale());
    bench::IgnoredInput input;
    stage.LoadSaverWindow(kSaverDesign, input);
    const Picture sheet = EmbeddedSheet(platform.scale());
    return bench::RunCommand(
        argc, argv,
        [&](double seconds, int16_t count) {
          bench::BenchScene bench_scene(stage, stage, stage, platform, count);
          Scene& scene = bench_scene.scene();
          bench::BareLoops bare(platform, sheet, scene.Sprites(), count);
          bench::RunPaced(platform, seconds, bench::Seconds, [&] { bare.Frame(); });
        },
        [&](int16_t count) { bench::CompareDrawing(platform, stage, sheet, count); });
  } catch (const std::exception& fault) {
    std::fprintf(stderr, "bench stopped: %s\n", fault.what());
    return 1;
  }
}
