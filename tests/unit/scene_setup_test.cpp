// Scene set-up: the window made the stage, the surfaces, the cursor loop, the seeding and the
// placement of `Count` sprites; and the program's own random numbers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "animation/random_source.h"
#include "fake/scene_fixture.h"

namespace fq {
namespace {

// The order of the set-up's calls is checked from saver mode's start (startup_test.cpp).
TEST(SetUpScene, MeasuresTheScreenAndSizesBlackSurfacesToIt) {
  SceneOnFake<> run(8, {1923, 1081});
  run.SetUp();
  EXPECT_EQ(run.scene.ScreenW(), 1923);
  EXPECT_EQ(run.scene.ScreenH(), 1081);
  for (SurfaceId id : {SurfaceId::WorkScr, SurfaceId::CleanScreen}) {
    const fake::Pixels& surface = run.platform.surface(id);
    EXPECT_EQ(surface.width, 1923);
    EXPECT_EQ(surface.height, 1081);
    EXPECT_TRUE(std::all_of(surface.data.begin(), surface.data.end(), [](uint32_t p) { return p == 0; }));
  }
}

TEST(SetUpScene, HidesTheCursorUntilTheCountIsBelowMinusFive) {
  const struct {
    int32_t count_before;
    int32_t calls;
  } cases[] = {{0, 6}, {-10, 1}, {-5, 1}, {3, 9}};
  for (const auto& c : cases) {
    SceneOnFake<> run(1);
    run.platform.pointer_count = c.count_before;
    run.SetUp();
    EXPECT_EQ(run.platform.pointer_steps, c.calls) << "from " << c.count_before;
    EXPECT_EQ(run.platform.pointer_count, std::min(c.count_before - 1, -6)) << "from " << c.count_before;
  }
}

TEST(SetUpScene, PlacesCountSpritesAtMostThirtyAndLeavesTheRestZero) {
  const struct {
    int16_t count;
    int placed;
  } cases[] = {{-32768, 0}, {0, 0}, {1, 1}, {30, 30}, {31, 30}, {32767, 30}};
  static const Sprite kZero{};
  for (const auto& c : cases) {
    SceneOnFake<> run(c.count);
    run.SetUp();
    for (int i = 0; i < kSpriteTableSize; ++i) {
      const bool zero = std::memcmp(&run.sprite(i), &kZero, sizeof kZero) == 0;
      EXPECT_EQ(!zero, i < c.placed) << "Count " << c.count << ", record " << i;
    }
    EXPECT_EQ(run.random.draws, 2 * c.placed) << "Count " << c.count;
    run.scene.FrameStep();
    EXPECT_EQ(run.platform.blits, 4 * c.placed) << "blits of one frame, Count " << c.count;
  }
}

// The records' speeds and sheet corners show in the frame tests' motion and pixels.
TEST(SetUpScene, ReseedsThenPlacesEachRecordRoundingHalfToEven) {
  SceneOnFake<> run(2, {1923, 1081});
  run.platform.seconds_since_midnight = 45296.5f;
  run.random.Script({0.5f, 0.5f, 0.99999994f, 0.0f});  // X and Y of sprite 0, then sprite 1
  run.SetUp();
  EXPECT_EQ(run.random.seeds, std::vector<float>{45296.5f});
  EXPECT_EQ(run.sprite(0).X, 962) << "961.5 rounds to the even neighbour";
  EXPECT_EQ(run.sprite(0).Y, 540) << "540.5 rounds to the even neighbour";
  EXPECT_EQ(run.sprite(1).X, 1923) << "r just below 1 reaches the right edge itself";
  EXPECT_EQ(run.sprite(1).Y, 0);
}

std::vector<std::pair<int16_t, int16_t>> PlacementWithSeed(float seconds) {
  SceneOnFake<LcgRandom> run(30);
  run.platform.seconds_since_midnight = seconds;
  run.SetUp();
  std::vector<std::pair<int16_t, int16_t>> places;
  for (int i = 0; i < 30; ++i) places.emplace_back(run.sprite(i).X, run.sprite(i).Y);
  return places;
}

TEST(LcgRandom, TheSameSeedPlacesTheSpritesIdenticallyAndValuesAreUniform) {
  const auto first = PlacementWithSeed(37800.25f);
  EXPECT_EQ(first, PlacementWithSeed(37800.25f));
  EXPECT_NE(first, PlacementWithSeed(37801.25f)) << "a second later should place differently";
  LcgRandom random;
  random.Reseed(0.0f);
  constexpr int kDraws = 1 << 16;
  int buckets[8] = {};
  for (int i = 0; i < kDraws; ++i) {
    const float value = random.Next();
    ASSERT_TRUE(value >= 0.0f && value < 1.0f) << "draw " << i << " gave " << value;
    ++buckets[static_cast<int>(value * 8)];
  }
  for (int bucket : buckets) EXPECT_NEAR(bucket, kDraws / 8, kDraws / 64);
}

}  // namespace
}  // namespace fq
