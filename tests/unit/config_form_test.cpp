// The settings dialog on the fake platform: what it shows, what OK accepts, refuses and
// saves, and how both buttons end the program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake/fake_platform.h"
#include "platform/fault.h"
#include "startup/program.h"
#include "startup/settings.h"

namespace fq {
namespace {

using fake::FakePlatform;
using fake::ProcessEnded;

const std::string kSpeedRefusal =
    "ERROR: For Speed we're looking for a number between 1 and 100 here, buddy.";
const std::string kCountRefusal =
    "ERROR: For count we're looking for a number between 1 and 30 here, buddy.";

std::string StoreKey(const char* key) {
  return FakePlatform::StoreKey("FlyingQuorlinSaver", "Settings", key);
}

// A started program in settings mode whose dialog is open.
struct OpenDialog {
  FakePlatform platform;
  Program program{platform};

  explicit OpenDialog(const char* stored_speed = nullptr) {
    if (stored_speed) platform.store[StoreKey("Speed")] = stored_speed;
    platform.argument_text = "/c";
    program.Main();
    platform.calls.clear();
  }

  void Type(const std::string& speed, const std::string& count) {
    platform.control_texts[DialogControl::SpeedBox] = speed;
    platform.control_texts[DialogControl::CountBox] = count;
  }

  // Presses a button; true when that ended the process.
  bool Press(void (ConfigEvents::*button)()) {
    try {
      (platform.config_events->*button)();
    } catch (const ProcessEnded&) {
      return true;
    }
    return false;
  }
  bool PressOk() { return Press(&ConfigEvents::OkClicked); }
  bool PressCancel() { return Press(&ConfigEvents::CancelClicked); }

  std::vector<std::string> Writes() const {
    std::vector<std::string> writes;
    for (const std::string& call : platform.calls) {
      if (call.rfind("WriteSetting ", 0) == 0) writes.push_back(call);
    }
    return writes;
  }
};

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += "[" + line + "]";
  return text;
}

TEST(ConfigForm, OpensFilledWithTheConvertedSettingsBeforeItShows) {
  const struct {
    std::vector<std::pair<const char*, const char*>> stored;
    const char* speed;
    const char* count;
  } cases[] = {
      {{}, "25", "8"},
      {{{"Speed", "2.5"}, {"Count", " 1e1 "}}, "2", "10"},
      {{{"Speed", "-3"}, {"Count", "3.5"}}, "-3", "4"},
  };
  for (const auto& c : cases) {
    FakePlatform platform;
    for (const auto& [key, value] : c.stored) platform.store[StoreKey(key)] = value;
    platform.argument_text = "/c";
    Program program(platform);
    program.Main();
    EXPECT_TRUE(platform.dialog_loaded && platform.dialog_visible);
    EXPECT_EQ(platform.control_texts[DialogControl::SpeedBox], c.speed);
    EXPECT_EQ(platform.control_texts[DialogControl::CountBox], c.count);
    ASSERT_TRUE(platform.dialog_layout.has_value());
    EXPECT_EQ(platform.dialog_layout->caption, "About");
    EXPECT_EQ(Joined(platform.calls),
              "[ReadSetting Speed][ReadSetting Count][LoadConfigDialog][ShowConfigDialog]");
    EXPECT_TRUE(platform.error_messages.empty());
  }
}

TEST(ConfigForm, OkSavesTheTypedTextsExactlyAndEndsWhenBothAreInRange) {
  const struct {
    const char* speed;
    const char* count;
  } cases[] = {
      {"1", "1"},     {"100", "30"},    {"2.5", "8"},  {" 5 ", "\t7\t"}, {"1e1", "3E1"},
      {"+50", "1.0"}, {"0.1e1", "29.99"}, {"1e-0", "30e0"},
  };
  for (const auto& c : cases) {
    OpenDialog dialog;
    dialog.Type(c.speed, c.count);
    EXPECT_TRUE(dialog.PressOk()) << c.speed << " / " << c.count;
    EXPECT_EQ(Joined(dialog.Writes()), Joined({std::string("WriteSetting Speed=") + c.speed,
                                               std::string("WriteSetting Count=") + c.count}));
    EXPECT_TRUE(dialog.platform.error_messages.empty()) << c.speed << " / " << c.count;
  }
}

TEST(ConfigForm, ARefusedValueShowsItsMessageKeepsItsKeyAndLeavesTheDialogOpen) {
  const char* refused[] = {"0.99", "100.5", "0", "-5", "", "abc", " ", "1e999", "-1e999",
                           "1,5", "5x", "e5", ".", "1e", "0x10", "1 2"};
  const char* refused_counts[] = {"0", "31", "30.01", "-5", "", "abc", "1e999"};
  for (const char* speed : refused) {
    OpenDialog dialog("40");
    dialog.Type(speed, "12");
    EXPECT_FALSE(dialog.PressOk()) << "speed \"" << speed << "\" ended the process";
    EXPECT_EQ(Joined(dialog.platform.error_messages), Joined({kSpeedRefusal})) << speed;
    EXPECT_EQ(Joined(dialog.Writes()), "[WriteSetting Count=12]") << speed;
    EXPECT_EQ(dialog.platform.store[StoreKey("Speed")], "40") << speed;
    EXPECT_TRUE(dialog.platform.dialog_loaded) << speed;
    EXPECT_EQ(dialog.platform.control_texts[DialogControl::SpeedBox], speed);
  }
  for (const char* count : refused_counts) {
    OpenDialog dialog;
    dialog.Type("50", count);
    EXPECT_FALSE(dialog.PressOk()) << "count \"" << count << "\" ended the process";
    EXPECT_EQ(Joined(dialog.platform.error_messages), Joined({kCountRefusal})) << count;
    EXPECT_EQ(Joined(dialog.Writes()), "[WriteSetting Speed=50]") << count;
    EXPECT_EQ(dialog.platform.store.count(StoreKey("Count")), 0u) << count;
  }
}

TEST(ConfigForm, BothRefusedGiveTwoMessagesSpeedFirstAndSaveNothing) {
  OpenDialog dialog;
  dialog.Type("abc", "31");
  EXPECT_FALSE(dialog.PressOk());
  EXPECT_EQ(Joined(dialog.platform.error_messages), Joined({kSpeedRefusal, kCountRefusal}));
  EXPECT_TRUE(dialog.Writes().empty()) << Joined(dialog.Writes());
}

TEST(ConfigForm, OkAgainAfterMendingTheRefusedValueSavesBothAndEnds) {
  OpenDialog dialog;
  dialog.Type("0", "9");
  EXPECT_FALSE(dialog.PressOk());
  dialog.Type("3", "9");
  EXPECT_TRUE(dialog.PressOk());
  EXPECT_EQ(Joined(dialog.Writes()),
            "[WriteSetting Count=9][WriteSetting Speed=3][WriteSetting Count=9]");
  EXPECT_EQ(dialog.platform.error_messages.size(), 1u);
}

TEST(ConfigForm, CancelEndsAtOnceKeepingWhatARefusedOkSaved) {
  OpenDialog dialog;
  dialog.Type("7", "");
  EXPECT_FALSE(dialog.PressOk());
  dialog.Type("8", "9");
  EXPECT_TRUE(dialog.PressCancel());
  EXPECT_EQ(Joined(dialog.Writes()), "[WriteSetting Speed=7]");
  EXPECT_EQ(dialog.platform.store[StoreKey("Speed")], "7");
}

TEST(ConfigForm, TheNumericTestUsesTheLocaleDecimalSeparator) {
  const struct {
    const char* speed;
    bool accepted;
  } cases[] = {{"2,5", true}, {"2.5", false}, {"1,5e1", true}};
  for (const auto& c : cases) {
    OpenDialog dialog;
    dialog.platform.decimal_separator = ',';
    dialog.Type(c.speed, "8");
    EXPECT_EQ(dialog.PressOk(), c.accepted) << c.speed;
  }
}

TEST(ConfigForm, ASavedFractionIsStoredAsTypedAndReadsBackRounded) {
  OpenDialog dialog;
  dialog.Type("2.5", "8");
  ASSERT_TRUE(dialog.PressOk());
  EXPECT_EQ(dialog.platform.store[StoreKey("Speed")], "2.5");
  EXPECT_EQ(LoadSettings(dialog.platform).Speed, 2);
}

TEST(ConfigForm, AWriteTheStoreRefusesIsAFaultThatStopsTheClick) {
  OpenDialog dialog;
  dialog.platform.refuse_writes = true;
  dialog.Type("5", "5");
  try {
    dialog.PressOk();
    ADD_FAILURE() << "a refused write did not raise a fault";
  } catch (const Fault& fault) {
    EXPECT_EQ(fault.kind(), FaultKind::PlatformFailure);
  }
  EXPECT_EQ(Joined(dialog.Writes()), "[WriteSetting Speed=5]");
  EXPECT_TRUE(dialog.platform.error_messages.empty());
}

}  // namespace
}  // namespace fq
