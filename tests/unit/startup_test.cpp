// Start-up: the mode switch, the settings read first in every mode, saver mode up to its first
// frame, and the branches that need no window (preview and password change).
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "base/fault.h"
#include "fake/fake_platform.h"
#include "startup/instance_guard.h"
#include "startup/mode_switch.h"
#include "startup/program.h"

namespace fq {
namespace {

using fake::FakePlatform;
using fake::ProcessEnded;

TEST(ModeSwitch, TakesTheFirstTwoCharactersOfTheSpaceTrimmedUpperCasedText) {
  const struct {
    const char* argument_text;
    Mode expected;
  } cases[] = {
      {"", Mode::Settings},       {"/c:123", Mode::Settings}, {"/c 123", Mode::Settings},
      {"/Cx", Mode::Settings},    {"-s", Mode::Settings},     {"s", Mode::Settings},
      {"\t/s", Mode::Settings},   {"/", Mode::Settings},      {"/\xc3\xa9", Mode::Settings},
      {"/s", Mode::Saver},        {"/S 99", Mode::Saver},     {"  /s  ", Mode::Saver},
      {"/S1", Mode::Saver},       {"/p 123", Mode::Preview},  {"/a 123", Mode::ChangePassword},
      {" /a 123", Mode::ChangePassword},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ModeOf(c.argument_text), c.expected) << "argument text \"" << c.argument_text << "\"";
  }
}

// The settings are read first in every mode, Speed before Count. The box names the fault and
// quotes the stored value, a huge one cut before a character.
TEST(Main, AnUnconvertibleSettingStopsEveryModeWithAFaultThatQuotesIt) {
  const std::string euro = "\xE2\x82\xAC";  // three bytes
  std::string euros;
  for (int i = 0; i < 21846; ++i) euros += euro;
  const struct {
    std::map<std::string, std::string> stored;
    FaultKind kind;
    std::string quoted;
  } cases[] = {
      {{{"Speed", "abc"}}, FaultKind::TypeMismatch, "abc"},
      {{{"Count", ""}}, FaultKind::TypeMismatch, ""},
      {{{"Speed", "40000"}}, FaultKind::Overflow, "40000"},
      {{{"Speed", "40000"}, {"Count", "abc"}}, FaultKind::Overflow, "40000"},
      {{{"Count", std::string(65536, 'x')}}, FaultKind::TypeMismatch, std::string(40, 'x') + "..."},
      // 40 bytes end inside the fourteenth euro sign, which is left out whole.
      {{{"Count", euros}}, FaultKind::TypeMismatch, euros.substr(0, 39) + "..."},
  };
  for (const char* argument_text : {"/p", "/a 123", "/c", "/s", ""}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(testing::Message() << "quoting \"" << c.quoted.substr(0, 10) << "\" with "
                                      << argument_text);
      FakePlatform platform;
      platform.argument_text = argument_text;
      platform.store = c.stored;
      Program program(platform);
      try {
        program.Main();
        ADD_FAILURE() << "no fault";
      } catch (const Fault& fault) {
        EXPECT_EQ(fault.kind(), c.kind);
        EXPECT_NE(FaultBoxText(fault).find("(\"" + c.quoted + "\")"), std::string::npos)
            << FaultBoxText(fault).substr(0, 200);
      }
      EXPECT_TRUE(platform.password_change_parents.empty() && !platform.saver_loaded &&
                  !platform.dialog_loaded)
          << "a branch ran after the fault";
    }
  }
}

// Saver mode from its start to its first frame. Beside another copy, a saver marks its window
// for later copies, or ends before loading anything where a marked one runs; alone it neither
// searches nor marks. The window is sized to the screen, shown and maximised, then the yield
// comes before it is made topmost.
TEST(Main, SaverModeTakesTheGuardSizesTheWindowToTheScreenAndSetsTheSceneUp) {
  const std::string marker(kMarkerTitle);
  const std::string set_up = "SetSaverOuterSize 1920x1080 ShowSaver MaximiseSaver RepaintSaver "
                             "Yield MakeSaverTopmost Yield ";
  const struct {
    bool previous_instance;
    std::string other_window, steps;
  } cases[] = {
      {false, marker, "LoadSaverWindow " + set_up},
      {true, "Another Window", "LoadSaverWindow SetSaverTitle " + marker + " " + set_up},
      {true, marker, "EndProcessNow "},
  };
  for (const auto& c : cases) {
    FakePlatform platform;
    platform.argument_text = "/s";
    platform.previous_instance = c.previous_instance;
    platform.other_windows = {c.other_window};
    platform.on_yield = [&] {
      if (platform.yields == 2) throw ProcessEnded();  // the first frame's
    };
    Program program(platform);
    EXPECT_THROW(program.Main(), ProcessEnded);
    std::string steps;
    for (const std::string& call : platform.calls) {
      if (!call.starts_with("ReadSetting") && call != "LoadWorkSurfaces") steps += call + " ";
    }
    EXPECT_EQ(steps, c.steps) << "another copy " << c.previous_instance << ", beside "
                              << c.other_window;
    EXPECT_EQ(platform.blits, c.steps == "EndProcessNow " ? 0 : 4 * 8) << "the first frame";
  }
}

TEST(Main, PreviewEndsAtOnceWithNoWindow) {
  FakePlatform platform;
  platform.argument_text = "/p 123";
  Program program(platform);
  EXPECT_THROW(program.Main(), ProcessEnded);
  EXPECT_TRUE(platform.surfaces.empty() && !platform.saver_loaded && !platform.dialog_loaded);
}

TEST(Main, ChangePasswordPassesTheNumberAfterTheFirstTwoRawCharacters) {
  constexpr int64_t kOverflows = INT64_MIN;
  const struct {
    const char* argument_text;
    int64_t parent;
  } cases[] = {
      {"/a 123", 123},      {"/A 123", 123},         {"/a", 0},
      {"/a:123", 0},        {"/a 12.5", 12},         {"/a 13.5", 14},
      {" /a 123", 0},       {"/a -7", -7},           {"/a 2147483647", INT32_MAX},
      {"/a1 2 3", 123},     {"/a 12345678901", kOverflows}, {"/a 2147483648", kOverflows},
      {"/a -2147483648", INT32_MIN}, {"/a -2147483649", kOverflows},
  };
  for (const auto& c : cases) {
    FakePlatform platform;
    platform.argument_text = c.argument_text;
    Program program(platform);
    try {
      program.Main();
    } catch (const Fault& fault) {
      EXPECT_EQ(c.parent, kOverflows) << c.argument_text << ": " << fault.what();
      EXPECT_EQ(fault.kind(), FaultKind::Overflow) << c.argument_text;
      EXPECT_TRUE(platform.password_change_parents.empty()) << c.argument_text;
      continue;
    }
    EXPECT_EQ(platform.password_change_parents, std::vector<int32_t>{static_cast<int32_t>(c.parent)})
        << c.argument_text;
    EXPECT_FALSE(platform.saver_loaded || platform.dialog_loaded) << c.argument_text;
  }
}

}  // namespace
}  // namespace fq
