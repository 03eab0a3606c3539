// The dialog's form data: focus order, and the geometry the controls must keep.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "settings_dialog/config_layout.h"

namespace fq {
namespace {

const ControlDefinition& Named(const std::string& name) {
  for (const ControlDefinition& control : ConfigLayout().controls) {
    if (control.name == name) return control;
  }
  throw std::out_of_range("no control named " + name);
}

TEST(ConfigLayout, FocusGoesOkSpeedCountCancelAndOnlyThoseTakeIt) {
  std::string focus_order;
  bool focus_takers_done = false;
  for (const ControlDefinition& control : ConfigLayout().controls) {
    if (!TakesFocus(control.kind)) {
      focus_takers_done = true;
      EXPECT_FALSE(control.role.has_value()) << control.name << " is addressed but takes no focus";
      continue;
    }
    EXPECT_FALSE(focus_takers_done) << control.name << " takes focus after a control that does not";
    focus_order += control.name + " ";
    ASSERT_TRUE(control.role.has_value()) << control.name;
  }
  EXPECT_EQ(focus_order, "cmdOK txtSpeed txtCount cmdCancel ");
  EXPECT_EQ(Named("cmdOK").role, DialogControl::Ok);
  EXPECT_EQ(Named("txtSpeed").role, DialogControl::SpeedBox);
  EXPECT_EQ(Named("txtCount").role, DialogControl::CountBox);
  EXPECT_EQ(Named("cmdCancel").role, DialogControl::Cancel);
}

TEST(ConfigLayout, ControlsFitTheClientAreaAndTheHeadingLinesShareOneAxis) {
  const DialogLayout& layout = ConfigLayout();
  for (const ControlDefinition& control : layout.controls) {
    const TwipsRect& r = control.rect;
    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.left + r.width <= layout.client_width &&
                r.top + r.height <= layout.client_height)
        << control.name << " leaves the client area";
  }
  // Twice the axis x = 3727.5 twips, to stay in whole numbers.
  for (const char* name : {"lblTitle", "lblCredit", "lblWhy"}) {
    const TwipsRect& r = Named(name).rect;
    EXPECT_EQ(2 * r.left + r.width, 7455) << name << " is not centred on the heading axis";
  }
  for (const auto& [label, box] : {std::pair{"lblSpeed", "txtSpeed"}, {"lblCount", "txtCount"}}) {
    const TwipsRect& l = Named(label).rect;
    const TwipsRect& b = Named(box).rect;
    EXPECT_LE(l.left + l.width, b.left) << label << " does not stand left of " << box;
    EXPECT_TRUE(l.top < b.top + b.height && b.top < l.top + l.height)
        << label << " is not beside " << box;
  }
}

}  // namespace
}  // namespace fq
