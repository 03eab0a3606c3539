// frmSaver: which inputs end the saver, the pointer-tracking rule, and the unload with its
// password check and shut-down.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fake/fake_platform.h"
#include "saver_window/saver_form.h"

namespace fq {
namespace {

using fake::FakePlatform;
using fake::ProcessEnded;

// A loaded saver window with the cursor hidden, as the scene set-up leaves it.
struct LoadedSaver {
  LoadedSaver() : frmSaver(platform) {
    frmSaver.Load();
    platform.cursor_count = -6;
  }
  // True when the input ended the process.
  template <typename Input>
  bool Ends(Input input) {
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

  FakePlatform platform;
  SaverForm frmSaver;
};

TEST(SaverInput, EveryKeyEveryButtonAndEveryCloseRequestEndsTheSaver) {
  const struct {
    const char* what;
    std::function<void(SaverForm&)> input;
  } cases[] = {
      {"a letter", [](SaverForm& f) { f.KeyDown('A', 0); }},
      {"Alt", [](SaverForm& f) { f.KeyDown(18, 4); }},
      {"F10", [](SaverForm& f) { f.KeyDown(121, 0); }},
      {"shift+ctrl+Escape", [](SaverForm& f) { f.KeyDown(27, 3); }},
      {"left button", [](SaverForm& f) { f.MouseDown(1, 0, 5, 5); }},
      {"right button", [](SaverForm& f) { f.MouseDown(2, 0, 1919, 1079); }},
      {"middle button", [](SaverForm& f) { f.MouseDown(4, 1, 0, 0); }},
      {"close box", [](SaverForm& f) { f.CloseRequested(0); }},
      {"session end", [](SaverForm& f) { f.CloseRequested(5); }},
  };
  for (const auto& c : cases) {
    LoadedSaver saver;
    EXPECT_TRUE(saver.Ends([&] { c.input(saver.frmSaver); })) << c.what;
    EXPECT_GE(saver.platform.cursor_count, 6) << c.what;
  }
}

TEST(SaverInput, TheFirstMoveOnlyRemembersWherePointerIs) {
  LoadedSaver saver;
  EXPECT_FALSE(saver.MoveEnds(900, 700));
  EXPECT_EQ(saver.frmSaver.PositionKnown, -1);
  EXPECT_EQ(saver.frmSaver.LastX, 900);
  EXPECT_EQ(saver.frmSaver.LastY, 700);
}

TEST(SaverInput, AMoveEndsTheSaverOnlyWhenMoreThanTwentyPixelsAwayOnBothAxes) {
  const struct {
    float x, y;
    bool ends;
  } cases[] = {
      {120, 120, false}, {400, 100, false}, {121, 100, false}, {100, 79, false},
      {80, 80, false},   {100, 1000, false}, {121, 121, true}, {79, 79, true},
      {121, 79, true},   {120.5f, 121, true},  // compared before any rounding
      {79.5f, 79.5f, true},
  };
  for (const auto& c : cases) {
    LoadedSaver saver;
    ASSERT_FALSE(saver.MoveEnds(100, 100));
    EXPECT_EQ(saver.MoveEnds(c.x, c.y), c.ends) << "move to " << c.x << ", " << c.y;
    const int16_t remembered_x = c.ends ? 100 : static_cast<int16_t>(c.x);
    const int16_t remembered_y = c.ends ? 100 : static_cast<int16_t>(c.y);
    EXPECT_EQ(saver.frmSaver.LastX, remembered_x) << "move to " << c.x << ", " << c.y;
    EXPECT_EQ(saver.frmSaver.LastY, remembered_y) << "move to " << c.x << ", " << c.y;
  }
}

TEST(SaverInput, PositionsAreRememberedRoundedHalfToEven) {
  LoadedSaver saver;
  saver.MoveEnds(100.5f, 101.5f);
  EXPECT_EQ(saver.frmSaver.LastX, 100);
  EXPECT_EQ(saver.frmSaver.LastY, 102);
}

TEST(SaverUnload, DoesNothingWhenTheWindowIsNotLoaded) {
  FakePlatform platform;
  SaverForm frmSaver(platform);
  frmSaver.KeyDown(65, 0);
  frmSaver.Unload();
  EXPECT_TRUE(platform.calls.empty());
}

TEST(SaverUnload, TheCloseHandlerShowsTheCursorUnloadsTheWindowsAndEnds) {
  const struct {
    int32_t count_before;
    int32_t show_calls;
  } cases[] = {{-6, 12}, {0, 6}, {5, 1}, {6, 1}, {40, 1}};
  for (const auto& c : cases) {
    LoadedSaver saver;
    saver.platform.cursor_count = c.count_before;
    saver.platform.LoadWorkSurfaces();
    saver.platform.dialog_loaded = true;
    saver.platform.calls.clear();
    EXPECT_TRUE(saver.Ends([&] { saver.frmSaver.KeyDown(32, 0); }));
    EXPECT_EQ(saver.platform.show_cursor_true_calls, c.show_calls) << "from " << c.count_before;
    EXPECT_EQ(saver.platform.show_cursor_false_calls, 0);
    const std::vector<std::string> expected = {"DestroyConfigDialog", "UnloadWorkSurfaces",
                                               "EndProcessNow"};
    EXPECT_EQ(saver.platform.calls, expected) << "from " << c.count_before;
  }
}

TEST(SaverUnload, AsksForThePasswordAndResetsTheRunningStateOnlyWhereDue) {
  const std::optional<int32_t> kMissing;
  const struct {
    const char* what;
    int16_t PwdProtected;
    int32_t CloseMode;
    std::optional<int32_t> verdict;
    std::optional<std::string> os;
    bool asks, ends, resets_running_state;
  } cases[] = {
      {"no password, Windows_NT", 0, 0, 1, "Windows_NT", false, true, false},
      {"no password, other os", 0, 0, 1, "Windows_95", false, true, false},
      {"no password, os unset", 0, 0, 1, std::nullopt, false, true, false},
      {"close mode 2, os unset", -1, 2, 0, std::nullopt, false, true, true},
      {"close mode 2, Windows_NT", -1, 2, 0, "Windows_NT", false, true, false},
      {"accepted, Windows_NT", -1, 0, 1, "Windows_NT", true, true, false},
      {"accepted, lower case", -1, 0, 1, "windows_nt", true, true, true},
      {"accepted, os unset", -1, 0, 1, std::nullopt, true, true, true},
      {"accepted, any flag value", 7, 1, -1, "Windows_NT ", true, true, true},
      {"service missing", -1, 0, kMissing, "Windows_NT", true, true, false},
      {"refused", -1, 0, 0, std::nullopt, true, false, false},
      {"refused in the low 16 bits", -1, 0, 0x10000, "", true, false, false},
  };
  for (const auto& c : cases) {
    LoadedSaver saver;
    saver.frmSaver.PwdProtected = c.PwdProtected;
    saver.frmSaver.CloseMode = c.CloseMode;
    saver.platform.password_verdict = c.verdict;
    if (c.os) saver.platform.environment["os"] = *c.os;

    EXPECT_EQ(saver.Ends([&] { saver.frmSaver.KeyDown(13, 0); }), c.ends) << c.what;
    const int asked = static_cast<int>(std::count(saver.platform.calls.begin(),
                                                  saver.platform.calls.end(),
                                                  "VerifyScreenSaverPassword"));
    EXPECT_EQ(asked, c.asks ? 1 : 0) << c.what;
    EXPECT_EQ(saver.platform.clear_screen_saver_running_calls, c.resets_running_state ? 1 : 0)
        << c.what;
    if (c.ends) {
      EXPECT_GE(saver.platform.cursor_count, 6) << c.what;
    } else {
      EXPECT_LE(saver.platform.cursor_count, -6) << c.what << ": the cursor is hidden again";
      EXPECT_GE(saver.platform.show_cursor_true_calls, 12) << c.what << ": shown for the dialog";
      EXPECT_EQ(saver.frmSaver.ResetMouse, -1) << c.what;
      EXPECT_TRUE(saver.platform.saver_loaded) << c.what;
    }
  }
}

TEST(SaverUnload, AfterARefusedPasswordTheNextMoveOnlyReBases) {
  LoadedSaver saver;
  saver.frmSaver.PwdProtected = -1;
  saver.platform.password_verdict = 0;
  ASSERT_FALSE(saver.MoveEnds(100, 100));
  ASSERT_FALSE(saver.MoveEnds(500, 500)) << "refused password keeps the saver";
  EXPECT_FALSE(saver.MoveEnds(1500, 900)) << "however far, the next move only re-bases";
  EXPECT_EQ(saver.frmSaver.ResetMouse, 0);
  EXPECT_EQ(saver.frmSaver.LastX, 1500);
  EXPECT_EQ(saver.frmSaver.LastY, 900);
  saver.platform.password_verdict = 1;
  EXPECT_TRUE(saver.MoveEnds(1400, 800)) << "tracking goes on from the new base";
}

TEST(SaverUnload, WithNoPositionBeforeARefusalTwoMovesPassUntested) {
  LoadedSaver saver;
  saver.frmSaver.PwdProtected = -1;
  saver.platform.password_verdict = 0;
  ASSERT_FALSE(saver.Ends([&] { saver.frmSaver.MouseDown(1, 0, 0, 0); }));
  EXPECT_FALSE(saver.MoveEnds(10, 10)) << "re-base";
  EXPECT_EQ(saver.frmSaver.PositionKnown, 0);
  EXPECT_FALSE(saver.MoveEnds(900, 900)) << "first remembered position";
  EXPECT_EQ(saver.frmSaver.PositionKnown, -1);
  saver.platform.password_verdict = 1;
  EXPECT_TRUE(saver.MoveEnds(10, 10));
}

// Input that arrives while the password dialog is open reaches a window being unloaded.
class PlatformWithInputDuringTheDialog : public FakePlatform {
 public:
  std::optional<int32_t> VerifyScreenSaverPassword() override {
    if (!delivered_) {
      delivered_ = true;
      saver_events->KeyDown(65, 0);
      saver_events->CloseRequested(0);
    }
    return FakePlatform::VerifyScreenSaverPassword();
  }

 private:
  bool delivered_ = false;
};

TEST(SaverUnload, ASecondUnloadOfAWindowBeingUnloadedHasNoEffect) {
  PlatformWithInputDuringTheDialog platform;
  SaverForm frmSaver(platform);
  frmSaver.Load();
  frmSaver.PwdProtected = -1;
  platform.password_verdict = 0;
  frmSaver.KeyDown(65, 0);
  EXPECT_EQ(std::count(platform.calls.begin(), platform.calls.end(), "VerifyScreenSaverPassword"), 1);
  EXPECT_TRUE(platform.saver_loaded);

  platform.password_verdict = 1;
  EXPECT_THROW(frmSaver.KeyDown(65, 0), ProcessEnded) << "a later unload runs again";
}

}  // namespace
}  // namespace fq
