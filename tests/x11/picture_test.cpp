// The hack carries a sprite sheet for every scale, each laid out as the 1x sheet times the
// scale, and refuses a scale no sheet is drawn for.
#include <gtest/gtest.h>

#include "animation/sheet_layout.h"
#include "picture.h"
#include "platform/fault.h"
#include "platform/screen_scale.h"

namespace fq::x11 {
namespace {

TEST(X11Pictures, ASheetForEveryScaleAtThatScale) {
  for (int scale = 1; scale <= kMaxScale; ++scale) {
    const Picture sheet = DecodeBmp(EmbeddedSpriteSheet(scale));
    EXPECT_EQ(sheet.width, kSheetWidth * scale) << scale << "x";
    EXPECT_EQ(sheet.height, kSheetHeight * scale) << scale << "x";
  }
  for (const int scale : {0, kMaxScale + 1}) {
    EXPECT_THROW(EmbeddedSpriteSheet(scale), Fault) << scale << "x";
  }
}

}  // namespace
}  // namespace fq::x11
