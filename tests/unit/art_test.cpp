// The pictures: the committed files are the generator's output byte for byte, the program
// expands the compressed sheet into the very pixels drawn, and the sheet the generator draws
// keeps the layout the frame step relies on.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <span>
#include <vector>

#include "animation/motion.h"
#include "animation/sheet_layout.h"
#include "art/art_files.h"
#include "art/pictures.h"
#include "resources/rle8.h"

namespace fq {
namespace {

std::vector<uint8_t> Committed(const std::string& name) {
  std::ifstream in(std::string(FQ_RESOURCES_DIR) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(Art, CommittedFilesEqualTheGeneratorsOutput) {
  for (const art::ArtFile& generated : art::DrawArtFiles()) {
    const std::vector<uint8_t> committed = Committed(generated.name);
    const auto [mismatch, _] = std::mismatch(committed.begin(), committed.end(),
                                             generated.bytes.begin(), generated.bytes.end());
    EXPECT_TRUE(committed == generated.bytes)
        << generated.name << " first differs at byte " << (mismatch - committed.begin())
        << "; regenerate it (tools/art/README.md)";
  }
}

// The program expands the committed sheet into exactly the drawn pixels; a pixel the data
// skipped would keep the filler and differ.
TEST(Art, TheCommittedSheetExpandsToTheDrawnPixels) {
  const art::IndexedImage drawn = art::DrawSpriteSheet();
  const std::vector<uint8_t> file = Committed("sprite_sheet.bmp");
  constexpr size_t kRowsAt = 14 + 40 + 256 * 4;  // file header, info header, palette
  ASSERT_GT(file.size(), kRowsAt);
  const size_t stride = Rle8RowBytes(drawn.width);
  std::vector<uint8_t> rows(stride * drawn.height, 0xA5);
  ASSERT_TRUE(ExpandRle8(std::span(file).subspan(kRowsAt), {drawn.width, drawn.height},
                                rows));
  for (int y = 0; y < drawn.height; ++y) {
    const auto row = rows.begin() + static_cast<ptrdiff_t>((drawn.height - 1 - y) * stride);
    EXPECT_TRUE(std::equal(row, row + drawn.width, drawn.indices.begin() + y * drawn.width))
        << "row " << y << " from the top";
  }
}

// Skips of the second row that add up to 2^32 - 4 to the right, then one pixel: a position
// added up unchecked wraps round to the first byte of the picture (4 by 2, rows of 4 bytes).
std::vector<uint8_t> SkipsThatWrapTheRowRound() {
  std::vector<uint8_t> data = {0, 0};
  constexpr uint32_t kWholeSkips = 0xFFFF'FFFCu / 255;
  data.reserve(4 * kWholeSkips + 10);
  for (uint32_t i = 0; i < kWholeSkips; ++i) data.insert(data.end(), {0, 2, 255, 0});
  data.insert(data.end(), {0, 2, 0xFFFF'FFFCu % 255, 0, 1, 7, 0, 1});
  return data;
}

// Damaged data are refused and nothing is written outside the picture (4 by 2 here).
TEST(Art, ExpandingRefusesDataThatEndEarlyOrReachOutsideThePicture) {
  const std::vector<std::vector<uint8_t>> damaged = {
      {2, 7, 0, 0},              // no end mark
      {5, 7, 0, 1},              // a run longer than the row
      {0, 0, 0, 0, 1, 7, 0, 1},  // a pixel above the top row
      {0, 2, 9, 0, 1, 7, 0, 1},  // a skip past the right edge
      {0, 2, 0, 3, 0, 1},        // a skip above the top row, then the end mark
      {0, 0, 0, 0, 0, 0, 0, 1},  // rows ended above the top row
      SkipsThatWrapTheRowRound(),
      {0, 3, 7, 7, 7},           // indices as they are, without their padding
  };
  for (const std::vector<uint8_t>& data : damaged) {
    std::vector<uint8_t> rows(8);
    EXPECT_FALSE(ExpandRle8(data, {4, 2}, rows)) << "data of " << data.size() << " bytes";
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
