// Saver mode from `Main` to the end on the fake platform: guard, window, set-up, frames, and
// a key press that ends the process through the close handler.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake/fake_platform.h"
#include "fake/scripted_random.h"
#include "startup/program.h"

namespace fq {
namespace {

using fake::FakePlatform;
using fake::ProcessEnded;

TEST(SaverRun, RunsFromMainThroughFramesUntilAKeyEndsIt) {
  FakePlatform platform;
  platform.argument_text = " /s ";
  platform.previous_instance = true;  // so the guard searches and marks
  ScriptedRandom random(0.5f);
  Program program(platform, random);

  constexpr int kFrames = 5;
  platform.on_yield = [&] {
    platform.calls.push_back("Yield");
    // The first yield is the set-up's; the frames' follow.
    if (platform.yields == kFrames + 1) platform.saver_events->KeyDown(32, 0);
  };
  EXPECT_THROW(program.Main(), ProcessEnded);

  std::vector<std::string> expected = {
      "ReadSetting Speed",  "ReadSetting Count", "FindTopLevelWindow FlyingQuorlinSaver",
      "LoadSaverWindow",    "SetSaverTitle FlyingQuorlinSaver",
      "SetSaverOuterSize 1920x1080",             "ShowSaver",
      "MaximiseSaver",      "LoadWorkSurfaces",  "RepaintSaver",
      "Yield",              "MakeSaverTopmost"};
  for (int frame = 0; frame < kFrames; ++frame) expected.push_back("Yield");
  expected.insert(expected.end(), {"UnloadWorkSurfaces", "EndProcessNow"});
  EXPECT_EQ(platform.calls, expected);

  EXPECT_EQ(platform.blits, kFrames * 4 * 8) << "four blits per sprite per frame, default Count 8";
  EXPECT_EQ(platform.pauses, std::vector<int32_t>(kFrames - 1, 25)) << "default Speed 25";
  EXPECT_EQ(platform.show_cursor_false_calls, 6);
  EXPECT_GE(platform.cursor_count, 6) << "the cursor is shown again at the end";
  EXPECT_EQ(random.seeds.size(), 1u);
}

}  // namespace
}  // namespace fq
