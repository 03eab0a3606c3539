// frmSaver: which inputs end the saver, the pointer rule, and the unload with its password
// check and shut-down.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "fake/fake_platform.h"
#include "saver_window/saver_form.h"

namespace fq {
namespace {

using fake::FakePlatform;
using fake::ProcessEnded;

// A loaded saver window with the cursor hidden, as the scene set-up leaves it.
template <typename Platform = FakePlatform>
struct LoadedSaver {
  LoadedSaver() : frmSaver(platform, platform, platform, platform) {
    frmSaver.Load();
    platform.pointer_count = -6;
  }
  // True when the input ended the process.
  bool Ends(const std::function<void()>& input) {
    try {
      input();
    } catch (const ProcessEnded&) {
      return true;
    }
    return false;
  }
  bool MoveEnds(float x, float y) {
    return Ends([&] { frmSaver.MouseMove(0, 0, x, y); });
  }

  Platform platform;
  SaverForm frmSaver;
};

// The first move only remembers (100, 100); the second is judged against it.
TEST(SaverInput, AMoveEndsTheSaverOnlyWhenMoreThanTwentyPixelsAwayOnBothAxes) {
  const struct {
    float x, y;
    bool ends;
    int16_t remembered_x, remembered_y;
  } cases[] = {
      {120, 120, false, 120, 120}, {400, 100, false, 400, 100}, {121, 100, false, 121, 100},
      {100, 79, false, 100, 79},   {80, 80, false, 80, 80},     {100, 1000, false, 100, 1000},
      {100.5f, 101.5f, false, 100, 102},  // remembered rounded half to even
      {121, 121, true, 100, 100},  {79, 79, true, 100, 100},    {121, 79, true, 100, 100},
      {120.5f, 121, true, 100, 100},  // compared before any rounding
  };
  for (const auto& c : cases) {
    LoadedSaver saver;
    ASSERT_FALSE(saver.MoveEnds(100, 100)) << "the first move only remembers";
    EXPECT_EQ(saver.MoveEnds(c.x, c.y), c.ends) << "move to " << c.x << ", " << c.y;
    EXPECT_EQ(saver.frmSaver.LastX, c.remembered_x) << "move to " << c.x << ", " << c.y;
    EXPECT_EQ(saver.frmSaver.LastY, c.remembered_y) << "move to " << c.x << ", " << c.y;
  }
}

TEST(SaverUnload, TheCloseHandlerShowsTheCursorPastFiveUnloadsTheWindowsAndEnds) {
  const struct {
    int32_t count_before;
    int32_t show_calls;
  } cases[] = {{-6, 12}, {0, 6}, {5, 1}, {6, 1}, {40, 1}};
  for (const auto& c : cases) {
    LoadedSaver saver;
    saver.platform.pointer_count = c.count_before;
    saver.platform.dialog_loaded = true;
    saver.platform.LoadWorkSurfaces({{1, 1}, {1, 1}});
    EXPECT_TRUE(saver.Ends([&] { saver.frmSaver.KeyDown(32, 0); }));
    EXPECT_EQ(saver.platform.pointer_steps, c.show_calls) << "from " << c.count_before;
    EXPECT_FALSE(saver.platform.dialog_loaded);
    EXPECT_EQ(saver.platform.surfaces.count(SurfaceId::Master), 0u);
  }
}

TEST(SaverUnload, AsksForThePasswordAndResetsTheRunningStateOnlyWhereDue) {
  const std::optional<int32_t> kMissing;
  const struct {
    int16_t PwdProtected;
    int32_t CloseMode;
    std::optional<int32_t> verdict;
    std::optional<std::string> os;
    bool asks, ends, resets_running_state;
  } cases[] = {
      {0, 0, 1, "Windows_NT", false, true, false},
      {0, 0, 1, std::nullopt, false, true, false},
      {-1, 2, 0, std::nullopt, false, true, true},
      {-1, 2, 0, "Windows_NT", false, true, false},
      {-1, 0, 1, "Windows_NT", true, true, false},
      {-1, 0, 1, "windows_nt", true, true, true},
      {7, 1, -1, "Windows_NT ", true, true, true},
      {-1, 0, kMissing, "Windows_NT", true, true, false},
      {-1, 0, 0, std::nullopt, true, false, false},
      {-1, 0, 0x10000, "", true, false, false},  // refused in the low 16 bits
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "row " << (&c - cases));
    LoadedSaver saver;
    saver.frmSaver.PwdProtected = c.PwdProtected;
    saver.frmSaver.CloseMode = c.CloseMode;
    saver.platform.password_verdict = c.verdict;
    if (c.os) saver.platform.environment["os"] = *c.os;
    EXPECT_EQ(saver.Ends([&] { saver.frmSaver.KeyDown(13, 0); }), c.ends);
    EXPECT_EQ(saver.platform.Count("VerifyScreenSaverPassword"), c.asks ? 1 : 0);
    EXPECT_EQ(saver.platform.Count("ClearScreenSaverRunning"), c.resets_running_state ? 1 : 0);
    if (c.ends) {
      EXPECT_GE(saver.platform.pointer_count, 6);
    } else {
      EXPECT_LE(saver.platform.pointer_count, -6) << "hidden again";
      EXPECT_GE(saver.platform.pointer_steps, 24) << "shown for the dialog";
      EXPECT_EQ(saver.frmSaver.ResetMouse, -1);
    }
  }
}

TEST(SaverUnload, AfterARefusedPasswordTheNextMoveOnlyReBases) {
  const struct {
    bool position_known_before;
    int untested_moves;
  } cases[] = {{true, 1}, {false, 2}};
  for (const auto& c : cases) {
    LoadedSaver saver;
    saver.frmSaver.PwdProtected = -1;
    saver.platform.password_verdict = 0;
    if (c.position_known_before) {
      ASSERT_FALSE(saver.MoveEnds(100, 100));
    }
    ASSERT_FALSE(saver.Ends([&] { saver.frmSaver.MouseDown(1, 0, 0, 0); }));
    for (int move = 1; move <= c.untested_moves; ++move) {
      EXPECT_FALSE(saver.MoveEnds(500.0f * move, 500.0f * move)) << "move " << move;
    }
    saver.platform.password_verdict = 1;
    EXPECT_TRUE(saver.MoveEnds(10, 10)) << "tracking goes on from the new base";
  }
}

// Input that arrives while the password dialog is open reaches a window being unloaded.
class PlatformWithInputDuringTheDialog : public FakePlatform {
 public:
  std::optional<int32_t> VerifyScreenSaverPassword() override {
    if (Count("VerifyScreenSaverPassword") == 0) {
      saver_events->KeyDown(65, 0);
      saver_events->CloseRequested(0);
    }
    return FakePlatform::VerifyScreenSaverPassword();
  }
};

TEST(SaverUnload, ASecondUnloadOfAWindowBeingUnloadedHasNoEffect) {
  LoadedSaver<PlatformWithInputDuringTheDialog> saver;
  saver.frmSaver.PwdProtected = -1;
  saver.platform.password_verdict = 0;
  EXPECT_FALSE(saver.Ends([&] { saver.frmSaver.KeyDown(65, 0); }));
  EXPECT_EQ(saver.platform.Count("VerifyScreenSaverPassword"), 1);
  saver.platform.password_verdict = 1;
  EXPECT_TRUE(saver.Ends([&] { saver.frmSaver.KeyDown(65, 0); })) << "a later unload runs again";
}

}  // namespace
}  // namespace fq
