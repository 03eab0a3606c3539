// The committed sprite sheet against the layout the frame step relies on:
// format, palette, black margins, masks that match their frames, four
// different wing positions.
#include <gtest/gtest.h>

#include <set>

#include "animation/sheet_layout.h"
#include "resource_file.h"

namespace fq {
namespace {

using testing::InfoHeader;
using testing::ResourceFile;

constexpr int kBlack = kSheetBlackIndex;
constexpr int kWhite = kSheetWhiteIndex;

class SpriteSheet : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { file_ = new ResourceFile(ResourceFile::Read("sprite_sheet.bmp")); }
  static void TearDownTestSuite() { delete file_; }

  const ResourceFile& file() const { return *file_; }
  // Palette index at (x, y), counted from the top-left corner.
  int At(int x, int y) const {
    const uint32_t row = (kSheetWidth + 3) / 4 * 4;
    return static_cast<int>(file().U8(file().U32(10) + (kSheetHeight - 1 - y) * row + x));
  }
  uint32_t Rgb(int index) const {
    const size_t at = 14 + 40 + 4 * static_cast<size_t>(index);
    return file().U8(at + 2) << 16 | file().U8(at + 1) << 8 | file().U8(at);
  }
  // Width of cell column k: the last one is cut short by the sheet's edge.
  static int CellWidth(int k) { return std::min(kSheetCell, kSheetWidth - k * kSheetCell); }
  static bool InSpriteBox(int x, int y) {
    return x >= kSpriteLeft && x <= kSpriteRight && y >= kSpriteTop && y <= kSpriteBottom;
  }

 private:
  static inline ResourceFile* file_ = nullptr;
};

TEST_F(SpriteSheet, IsAnUncompressedBottomUp8BitBitmapOfTheSheetsSize) {
  ASSERT_EQ(file().U16(0), 0x4D42u) << "no BM signature";
  const InfoHeader h = InfoHeader::At(file(), 14);
  EXPECT_EQ(h.size, 40u);
  EXPECT_EQ(h.width, kSheetWidth);
  EXPECT_EQ(h.height, kSheetHeight) << "a positive height means rows stored bottom-up";
  EXPECT_EQ(h.planes, 1u);
  EXPECT_EQ(h.bits, 8u);
  EXPECT_EQ(h.compression, 0u) << "BI_RGB";
  EXPECT_EQ(h.colours_used, 256u);
  EXPECT_EQ(file().U32(10), 14u + 40u + 1024u) << "pixels should follow the 256-entry palette";
  EXPECT_EQ(file().bytes.size(), file().U32(10) + 512u * kSheetHeight);
  EXPECT_EQ(file().U32(2), file().bytes.size()) << "file size field";
}

TEST_F(SpriteSheet, PaletteHasBlackAtZeroWhiteAt255AndNoOtherBlack) {
  EXPECT_EQ(Rgb(kBlack), 0x000000u);
  EXPECT_EQ(Rgb(kWhite), 0xFFFFFFu);
  for (int i = 1; i < 256; ++i) EXPECT_NE(Rgb(i), 0x000000u) << "entry " << i << " is black";
}

TEST_F(SpriteSheet, FramesAreBlackOutsideTheirSpriteBoxAndClearOfItsBorder) {
  for (int k = 0; k < kSheetFrames; ++k) {
    int drawn = 0;
    for (int y = 0; y < kSheetCell; ++y) {
      for (int x = 0; x < CellWidth(k); ++x) {
        const int index = At(k * kSheetCell + x, y);
        const bool inner = x > kSpriteLeft && x < kSpriteRight && y > kSpriteTop && y < kSpriteBottom;
        if (index != kBlack) ++drawn;
        // The box's own border stays black too, or the creature was cut off.
        ASSERT_TRUE(index == kBlack || inner)
            << "frame " << k << " has index " << index << " at cell (" << x << ", " << y << ")";
      }
    }
    const int box = (kSpriteRight - kSpriteLeft + 1) * (kSpriteBottom - kSpriteTop + 1);
    EXPECT_GT(drawn, box / 8) << "frame " << k << " holds almost nothing";
  }
}

TEST_F(SpriteSheet, MasksAreBlackOnEveryFramePixelAndWhiteOutsideTheBox) {
  for (int k = 0; k < kSheetFrames; ++k) {
    for (int y = 0; y < kSheetCell; ++y) {
      for (int x = 0; x < CellWidth(k); ++x) {
        const int sheet_x = k * kSheetCell + x;
        const int mask = At(sheet_x, kSheetMaskRowY + y);
        ASSERT_TRUE(mask == kBlack || mask == kWhite)
            << "mask " << k << " has index " << mask << " at cell (" << x << ", " << y << ")";
        if (At(sheet_x, y) != kBlack) {
          ASSERT_EQ(mask, kBlack) << "frame " << k << " pixel (" << x << ", " << y
                                  << ") would be ORed over whatever lies beneath";
        }
        if (!InSpriteBox(x, y)) {
          ASSERT_EQ(mask, kWhite) << "mask " << k << " clears the screen at (" << x << ", " << y << ")";
        }
      }
    }
  }
}

TEST_F(SpriteSheet, EachFrameHasItsOwnSilhouette) {
  // Colours alone could differ; a wing that moves changes the outline.
  std::set<std::vector<bool>> silhouettes;
  for (int k = 0; k < kSheetFrames; ++k) {
    std::vector<bool> silhouette;
    for (int y = kSpriteTop; y <= kSpriteBottom; ++y) {
      for (int x = kSpriteLeft; x <= kSpriteRight; ++x) {
        silhouette.push_back(At(k * kSheetCell + x, kSheetMaskRowY + y) == kBlack);
      }
    }
    EXPECT_TRUE(silhouettes.insert(silhouette).second) << "mask " << k << " repeats an earlier one";
  }
}

}  // namespace
}  // namespace fq
