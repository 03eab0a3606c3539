// The hack carries a sprite sheet for every scale, each laid out as the 1x sheet times the
// scale. A scale without a sheet never reaches it: the options refuse it (HackOptions).
#include <gtest/gtest.h>

#include "animation/sheet_layout.h"
#include "ports/unix/embedded_sheets.h"
#include "platform/screen_scale.h"

namespace fq::x11 {
namespace {

TEST(X11Pictures, ASheetForEveryScaleAtThatScale) {
  for (int scale = 1; scale <= kMaxScale; ++scale) {
    const Picture sheet = EmbeddedSheet(scale);
    EXPECT_EQ(sheet.width, kSheetWidth * scale) << scale << "x";
    EXPECT_EQ(sheet.height, kSheetHeight * scale) << scale << "x";
  }
}

}  // namespace
}  // namespace fq::x11
