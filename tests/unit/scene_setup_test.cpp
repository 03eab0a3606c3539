// Scene set-up: the order of its steps, the surfaces, the cursor loop, the seeding and the
// placement of `Count` sprites.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "animation/random_source.h"
#include "fake/scene_fixture.h"

namespace fq {
namespace {

bool IsZero(const Sprite& sprite) {
  static const Sprite kZero{};
  return std::memcmp(&sprite, &kZero, sizeof sprite) == 0;
}

bool AllBlack(const fake::Pixels& pixels) {
  return std::all_of(pixels.data.begin(), pixels.data.end(), [](uint32_t p) { return p == 0; });
}

TEST(SetUpScene, ShowsMeasuresSizesRepaintsYieldsThenMakesTopmost) {
  SceneOnFake<> run(8);
  run.platform.on_yield = [&] { run.platform.calls.push_back("Yield"); };
  run.platform.cursor_count = 0;
  run.SetUp();

  std::vector<std::string> steps;
  for (const std::string& call : run.platform.calls) {
    if (call != "LoadSaverWindow" && call.rfind("SetSaverOuterSize", 0) != 0) steps.push_back(call);
  }
  const std::vector<std::string> expected = {"ShowSaver",    "MaximiseSaver", "LoadWorkSurfaces",
                                             "RepaintSaver", "Yield",         "MakeSaverTopmost"};
  EXPECT_EQ(steps, expected);
  EXPECT_EQ(run.scene.ScreenW(), 1920);
  EXPECT_EQ(run.scene.ScreenH(), 1080);
  for (SurfaceId id : {SurfaceId::WorkScr, SurfaceId::CleanScreen}) {
    const fake::Pixels& surface = run.platform.surface(id);
    EXPECT_EQ(surface.width, 1920) << "surface " << static_cast<int>(id);
    EXPECT_EQ(surface.height, 1080) << "surface " << static_cast<int>(id);
    EXPECT_TRUE(AllBlack(surface)) << "surface " << static_cast<int>(id) << " is not black";
  }
  EXPECT_TRUE(run.platform.saver_visible && run.platform.saver_maximised &&
              run.platform.saver_topmost);
}

TEST(SetUpScene, HidesTheCursorUntilTheCountIsBelowMinusFive) {
  const struct {
    int32_t count_before;
    int32_t calls;
    int32_t count_after;
  } cases[] = {{0, 6, -6}, {-10, 1, -11}, {-5, 1, -6}, {3, 9, -6}};
  for (const auto& c : cases) {
    SceneOnFake<> run(1);
    run.platform.cursor_count = c.count_before;
    run.SetUp();
    EXPECT_EQ(run.platform.show_cursor_false_calls, c.calls) << "from " << c.count_before;
    EXPECT_EQ(run.platform.cursor_count, c.count_after) << "from " << c.count_before;
    EXPECT_EQ(run.platform.show_cursor_true_calls, 0);
  }
}

TEST(SetUpScene, PlacesCountSpritesAndLeavesTheRestZero) {
  const struct {
    int16_t count;
    int placed;
  } cases[] = {{-32768, 0}, {-1, 0}, {0, 0}, {1, 1}, {8, 8}, {30, 30}, {31, 30}, {32767, 30}};
  for (const auto& c : cases) {
    SceneOnFake<> run(c.count);
    run.SetUp();
    const SpriteTable& sprites = run.scene.Sprites();
    for (int i = 0; i < kSpriteTableSize; ++i) {
      EXPECT_EQ(!IsZero(sprites[i]), i < c.placed) << "Count " << c.count << ", record " << i;
    }
    EXPECT_EQ(run.random.draws, 2 * c.placed) << "Count " << c.count;
    run.platform.blits = 0;
    run.scene.FrameStep();
    EXPECT_EQ(run.platform.blits, 4 * c.placed) << "blits of one frame, Count " << c.count;
  }
}

TEST(SetUpScene, ReseedsThenGivesEachRecordItsPlaceSpeedsCellAndSheetCorners) {
  SceneOnFake<> run(2, {1923, 1081});
  run.platform.seconds_since_midnight = 45296.5f;
  // X and Y of sprite 0, then of sprite 1.
  run.random.Script({0.5f, 0.5f, 0.99999994f, 0.0f});
  run.SetUp();
  EXPECT_EQ(run.random.seeds, std::vector<float>{45296.5f});
  const Sprite& first = run.scene.Sprites()[0];
  const Sprite& second = run.scene.Sprites()[1];
  EXPECT_EQ(first.X, 962) << "961.5 rounds to the even neighbour";
  EXPECT_EQ(first.Y, 540) << "540.5 rounds to the even neighbour";
  EXPECT_EQ(second.X, 1923) << "r just below 1 reaches the right edge itself";
  EXPECT_EQ(second.Y, 0);
  for (const Sprite& sprite : {first, second}) {
    EXPECT_EQ(sprite.W, 128);
    EXPECT_EQ(sprite.H, 128);
    EXPECT_EQ(sprite.SpeedX, 3);
    EXPECT_EQ(sprite.SpeedY, 1);
    EXPECT_EQ(sprite.Frame, 0);
    EXPECT_EQ(sprite.Tick, 0);
    EXPECT_EQ(sprite.Direction, 0);
    for (int k = 0; k < 21; ++k) {
      const int16_t x = k < 4 ? static_cast<int16_t>(128 * k) : 0;
      EXPECT_EQ(sprite.FrameX[k], x) << "FrameX[" << k << "]";
      EXPECT_EQ(sprite.FrameY[k], 0) << "FrameY[" << k << "]";
      EXPECT_EQ(sprite.MaskX[k], x) << "MaskX[" << k << "]";
      EXPECT_EQ(sprite.MaskY[k], k < 4 ? 128 : 0) << "MaskY[" << k << "]";
    }
  }
}

// The program's own generator: the same seed places the sprites identically.
std::vector<std::pair<int16_t, int16_t>> PlacementWithSeed(float seconds) {
  SceneOnFake<LcgRandom> run(30);
  run.platform.seconds_since_midnight = seconds;
  run.SetUp();
  std::vector<std::pair<int16_t, int16_t>> places;
  for (int i = 0; i < 30; ++i) {
    places.emplace_back(run.scene.Sprites()[i].X, run.scene.Sprites()[i].Y);
  }
  return places;
}

TEST(LcgRandom, TheSameSeedPlacesTheSpritesIdentically) {
  const auto first = PlacementWithSeed(37800.25f);
  EXPECT_EQ(first, PlacementWithSeed(37800.25f));
  EXPECT_NE(first, PlacementWithSeed(37801.25f)) << "a second later should place differently";
  for (const auto& [x, y] : first) {
    EXPECT_TRUE(x >= 0 && x <= 1920 && y >= 0 && y <= 1080) << "placed at " << x << ", " << y;
  }
}

TEST(LcgRandom, GivesUniformValuesInZeroToOne) {
  LcgRandom random;
  random.Reseed(0.0f);
  constexpr int kDraws = 1 << 16;
  int buckets[8] = {};
  for (int i = 0; i < kDraws; ++i) {
    const float value = random.Next();
    ASSERT_TRUE(value >= 0.0f && value < 1.0f) << "draw " << i << " gave " << value;
    ++buckets[static_cast<int>(value * 8)];
  }
  for (int bucket : buckets) {
    EXPECT_NEAR(bucket, kDraws / 8, kDraws / 64) << "eighths should be about evenly filled";
  }
}

}  // namespace
}  // namespace fq
