// `FrameStep` on the fake platform's in-memory surfaces at 1920 by 1080, for 1, 8 and 30
// sprites, beside a memcpy of the bytes one frame moves, in the same run. The fake's blits are
// plain per-pixel loops, so this measures the core's overhead plus that reference raster, not
// a real display; the Win32 figures come from bench/win32/.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "animation/random_source.h"
#include "fake/scene_fixture.h"

namespace fq {
namespace {

// Per sprite a frame restores and presents a 128-pixel cell and stamps a 118-pixel block
// twice (mask, image), at 4 bytes a pixel.
int64_t BytesPerFrame(int64_t count) {
  return count * (2 * 128 * 128 + 2 * 118 * 118) * 4;
}

void BM_FrameStep(benchmark::State& state) {
  // The fake's cost does not depend on what the sheet shows, so its black default will do.
  SceneOnFake<LcgRandom> run(static_cast<int16_t>(state.range(0)), {1920, 1080}, 0);
  run.SetUp();
  Scene& scene = run.scene;
  for (auto _ : state) {
    scene.FrameStep();
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * BytesPerFrame(state.range(0)));
}

void BM_MemcpyOfAFramesBytes(benchmark::State& state) {
  const auto bytes = static_cast<size_t>(BytesPerFrame(state.range(0)));
  std::vector<uint8_t> from(bytes, 0x5A);
  std::vector<uint8_t> to(bytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}

BENCHMARK(BM_FrameStep)->ArgName("Count")->Arg(1)->Arg(8)->Arg(30)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemcpyOfAFramesBytes)->ArgName("Count")->Arg(1)->Arg(8)->Arg(30)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace fq

BENCHMARK_MAIN();
