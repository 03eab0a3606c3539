// CleanScreen kept as a size: the black fill the ports draw for a copy from it leaves exactly
// the pixels that the in-memory platform's blit from a black surface leaves, and an operation
// a fill cannot stand for is refused.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/fault.h"
#include "fake/fake_platform.h"
#include "ports/shared/clean_screen.h"

namespace fq {
namespace {

constexpr Extent kCleanScreen{20, 16};

TEST(CleanScreen, TheBlackFillLeavesTheBlitsPixels) {
  const struct {
    int32_t x, y, width, height, source_x, source_y;
  } blocks[] = {
      {3, 4, 8, 6, 3, 4},       // inside both
      {30, 20, 8, 6, 15, 12},   // past the source's right and bottom edges
      {5, 5, 10, 10, -4, -3},   // before its left and top edges
      {-5, -2, 12, 9, 2, 1},    // partly outside the destination
      {1, 1, 8, 8, 25, 0},      // entirely outside the source
      {0, 0, 0, 5, 0, 0},       // empty
  };
  const fake::Pixels black(kCleanScreen.width, kCleanScreen.height);
  for (const RasterOp op : {RasterOp::SrcCopy, RasterOp::SrcAnd, RasterOp::SrcPaint}) {
    for (const auto& b : blocks) {
      fake::Pixels want(40, 30);
      for (size_t i = 0; i < want.data.size(); ++i) want.data[i] = 0x10203 * (i % 97) + 1;
      fake::Pixels filled = want;
      fake::Blit(want, b.x, b.y, b.width, b.height, black, b.source_x, b.source_y, op);
      if (const auto fill = CleanScreenBlackFill(kCleanScreen, b.x, b.y, b.width, b.height,
                                                 b.source_x, b.source_y, op)) {
        for (int32_t y = std::max(fill->top, 0); y < std::min(fill->top + fill->height, 30); ++y) {
          for (int32_t x = std::max(fill->left, 0); x < std::min(fill->left + fill->width, 40); ++x) {
            filled.at(x, y) = 0;
          }
        }
      }
      EXPECT_EQ(fake::Difference(filled, want), "")
          << "op " << static_cast<uint32_t>(op) << ", block " << (&b - blocks);
    }
  }
}

TEST(CleanScreen, AnOperationAFillCannotDrawIsAFault) {
  constexpr auto kSrcInvert = static_cast<RasterOp>(0x00660046);
  EXPECT_THROW(CleanScreenBlackFill(kCleanScreen, 0, 0, 8, 8, 0, 0, kSrcInvert), Fault);
}

}  // namespace
}  // namespace fq
