// The pictures: the committed files are the generator's output byte for byte, and the sheet
// the generator draws keeps the layout the frame step relies on.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

#include "animation/motion.h"
#include "animation/sheet_layout.h"
#include "art/art_files.h"
#include "art/pictures.h"

namespace fq {
namespace {

TEST(Art, CommittedFilesEqualTheGeneratorsOutput) {
  for (const art::ArtFile& generated : art::DrawArtFiles()) {
    std::ifstream in(std::string(FQ_RESOURCES_DIR) + "/" + generated.name, std::ios::binary);
    const std::vector<uint8_t> committed{std::istreambuf_iterator<char>(in), {}};
    const auto [mismatch, _] = std::mismatch(committed.begin(), committed.end(),
                                             generated.bytes.begin(), generated.bytes.end());
    EXPECT_TRUE(committed == generated.bytes)
        << generated.name << " first differs at byte " << (mismatch - committed.begin())
        << "; regenerate it (tools/art/README.md)";
  }
}

// Frames are black outside the sprite's box, masks black under every frame pixel and white
// outside the box, and every frame has a silhouette of its own.
TEST(Art, TheSheetKeepsFramesInTheirBoxAndMasksUnderThem) {
  const art::IndexedImage sheet = art::DrawSpriteSheet();
  ASSERT_EQ(sheet.width, kSheetWidth);
  ASSERT_EQ(sheet.height, kSheetHeight);
  std::set<std::vector<bool>> silhouettes;
  for (int k = 0; k < kSheetFrames; ++k) {
    std::vector<bool> silhouette;
    int drawn = 0;
    for (int y = 0; y < kSheetCell; ++y) {
      for (int x = 0; x < kSheetCell && k * kSheetCell + x < kSheetWidth; ++x) {
        const int frame = sheet.at(k * kSheetCell + x, y);
        const int mask = sheet.at(k * kSheetCell + x, kSheetMaskRowY + y);
        const bool in_box = x >= kSpriteLeft && x <= kSpriteRight && y >= kSpriteTop &&
                            y <= kSpriteBottom;
        drawn += frame != kSheetBlackIndex;
        silhouette.push_back(mask == kSheetBlackIndex);
        ASSERT_TRUE(frame == kSheetBlackIndex || in_box) << "frame " << k << " at " << x << ", " << y;
        ASSERT_TRUE(mask == kSheetBlackIndex || mask == kSheetWhiteIndex) << "mask " << k;
        ASSERT_TRUE(frame == kSheetBlackIndex || mask == kSheetBlackIndex)
            << "frame " << k << " pixel " << x << ", " << y << " would be ORed over the screen";
        ASSERT_TRUE(in_box || mask == kSheetWhiteIndex) << "mask " << k << " at " << x << ", " << y;
      }
    }
    EXPECT_GT(drawn, 64 * 64 / 8) << "frame " << k << " holds almost nothing";
    EXPECT_TRUE(silhouettes.insert(silhouette).second) << "mask " << k << " repeats another";
  }
  EXPECT_TRUE(sheet.palette[kSheetBlackIndex] == (art::Rgb{0, 0, 0}));
  EXPECT_TRUE(sheet.palette[kSheetWhiteIndex] == (art::Rgb{255, 255, 255}));
}

}  // namespace
}  // namespace fq
