// Start-up: settings read first in every mode, then the mode switch's branches.
#include <gtest/gtest.h>

#include "fake/fake_platform.h"
#include "platform/fault.h"
#include "startup/mode_switch.h"
#include "startup/program.h"

namespace fq {
namespace {

using fake::FakePlatform;
using fake::ProcessEnded;

void Store(FakePlatform& platform, const char* key, const char* value) {
  platform.store[FakePlatform::StoreKey("FlyingQuorlinSaver", "Settings", key)] = value;
}

TEST(ModeSwitch, TakesTheFirstTwoCharactersOfTheSpaceTrimmedUpperCasedText) {
  const struct {
    const char* argument_text;
    Mode expected;
  } cases[] = {
      {"", Mode::Settings},          {"/c:123", Mode::Settings},   {"/C", Mode::Settings},
      {"/c 123", Mode::Settings},    {"/Cx", Mode::Settings},      {"-s", Mode::Settings},
      {"s", Mode::Settings},         {"\t/s", Mode::Settings},     {"/", Mode::Settings},
      {"/s", Mode::Saver},           {"/S 99", Mode::Saver},       {"  /s  ", Mode::Saver},
      {"/S1", Mode::Saver},          {"/p 123", Mode::Preview},    {"/P", Mode::Preview},
      {"/a 123", Mode::ChangePassword},                            {" /a 123", Mode::ChangePassword},
      {"/\xc3\xa9", Mode::Settings},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ModeOf(c.argument_text), c.expected) << "argument text \"" << c.argument_text << "\"";
  }
}

TEST(Main, ReadsSpeedThenCountWithTheirDefaults) {
  FakePlatform platform;
  platform.argument_text = "/a";
  Program program(platform);
  program.Main();
  EXPECT_EQ(program.settings().Speed, 25);
  EXPECT_EQ(program.settings().Count, 8);
  ASSERT_GE(platform.calls.size(), 2u);
  EXPECT_EQ(platform.calls[0], "ReadSetting Speed");
  EXPECT_EQ(platform.calls[1], "ReadSetting Count");
}

TEST(Main, AnUnconvertibleSettingStopsEveryModeBeforeItsBranch) {
  for (const char* argument_text : {"/p", "/a 123", "/c", "/s", ""}) {
    for (const auto& [key, value, kind] :
         {std::tuple{"Speed", "abc", FaultKind::TypeMismatch},
          std::tuple{"Count", "", FaultKind::TypeMismatch},
          std::tuple{"Speed", "40000", FaultKind::Overflow}}) {
      FakePlatform platform;
      platform.argument_text = argument_text;
      Store(platform, key, value);
      Program program(platform);
      try {
        program.Main();
        ADD_FAILURE() << "no fault for " << key << "=" << value << " with " << argument_text;
      } catch (const Fault& fault) {
        EXPECT_EQ(fault.kind(), kind);
      }
      EXPECT_TRUE(platform.password_change_parents.empty());
      EXPECT_FALSE(platform.saver_loaded);
      EXPECT_FALSE(platform.dialog_loaded);
    }
  }
}

TEST(Main, PreviewEndsAtOnceWithNoWindow) {
  FakePlatform platform;
  platform.argument_text = "/p 123";
  Program program(platform);
  EXPECT_THROW(program.Main(), ProcessEnded);
  EXPECT_FALSE(platform.saver_loaded);
  EXPECT_FALSE(platform.dialog_loaded);
  EXPECT_FALSE(platform.work_loaded);
}

TEST(Main, ChangePasswordPassesTheNumberAfterTheFirstTwoRawCharacters) {
  const struct {
    const char* argument_text;
    int32_t parent;
  } cases[] = {
      {"/a 123", 123}, {"/A 123", 123}, {"/a", 0},       {"/a:123", 0},   {"/a 12.5", 12},
      {"/a 13.5", 14}, {" /a 123", 0},  {"/a -7", -7},   {"/a 2147483647", INT32_MAX},
      {"/a1 2 3", 123},
  };
  for (const auto& c : cases) {
    FakePlatform platform;
    platform.argument_text = c.argument_text;
    Program program(platform);
    program.Main();
    ASSERT_EQ(platform.password_change_parents.size(), 1u) << c.argument_text;
    EXPECT_EQ(platform.password_change_parents[0], c.parent) << c.argument_text;
    EXPECT_EQ(program.password_change_parent(), c.parent) << c.argument_text;
    EXPECT_FALSE(platform.saver_loaded || platform.dialog_loaded) << c.argument_text;
  }
}

TEST(Main, AHandleOutside32BitsOverflowsBeforeTheServiceIsCalled) {
  for (const char* argument_text : {"/a 12345678901", "/a 2147483648", "/a -2147483649"}) {
    FakePlatform platform;
    platform.argument_text = argument_text;
    Program program(platform);
    try {
      program.Main();
      ADD_FAILURE() << "no fault for " << argument_text;
    } catch (const Fault& fault) {
      EXPECT_EQ(fault.kind(), FaultKind::Overflow);
    }
    EXPECT_TRUE(platform.password_change_parents.empty());
  }
}

}  // namespace
}  // namespace fq
