// The pictures: the committed files are the generator's output byte for byte, the program
// expands each compressed sheet into the very pixels drawn, and the sheet the generator draws
// keeps, at every scale, the layout the frame step relies on.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <span>
#include <vector>

#include "animation/motion.h"
#include "animation/sheet_layout.h"
#include "art/art_files.h"
#include "art/pictures.h"
#include "platform/screen_scale.h"
#include "resources/inflate.h"
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

// The sheet drawn for each scale, drawn once: the larger ones take seconds.
const art::IndexedImage& Sheet(int scale) {
  static std::map<int, art::IndexedImage> drawn;
  auto [at, added] = drawn.try_emplace(scale);
  if (added) at->second = art::DrawSpriteSheet(scale);
  return at->second;
}

// The rows of the committed sheet for `scale` as the program expands them, bottom row first;
// rows the data skipped keep a filler and differ.
std::vector<uint8_t> CommittedSheetRows(int scale, const art::IndexedImage& drawn) {
  constexpr size_t kRowsAt = 14 + 40 + 256 * 4;  // file header, info header, palette
  const size_t stride = Rle8RowBytes(drawn.width);
  std::vector<uint8_t> rows(stride * drawn.height, 0xA5);
  if (scale == 1) {
    const std::vector<uint8_t> file = Committed("sprite_sheet.bmp");
    if (file.size() <= kRowsAt ||
        !ExpandRle8(std::span(file).subspan(kRowsAt), {drawn.width, drawn.height}, rows)) {
      return {};
    }
    return rows;
  }
  std::vector<uint8_t> file;
  if (!Inflate(Committed(art::ScaledFileName("sprite_sheet", scale)), 4 << 20, file) ||
      file.size() != kRowsAt + rows.size()) {
    return {};
  }
  return {file.begin() + kRowsAt, file.end()};
}

class ArtAtScale : public testing::TestWithParam<int> {};
INSTANTIATE_TEST_SUITE_P(EveryScale, ArtAtScale, testing::Range(1, kMaxScale + 1));

// The program expands the committed sheet into exactly the drawn pixels.
TEST_P(ArtAtScale, TheCommittedSheetExpandsToTheDrawnPixels) {
  const int scale = GetParam();
  const art::IndexedImage& drawn = Sheet(scale);
  const std::vector<uint8_t> rows = CommittedSheetRows(scale, drawn);
  ASSERT_FALSE(rows.empty()) << "the committed sheet for " << scale << "x does not expand";
  const size_t stride = Rle8RowBytes(drawn.width);
  for (int y = 0; y < drawn.height; ++y) {
    const auto row = rows.begin() + static_cast<ptrdiff_t>((drawn.height - 1 - y) * stride);
    ASSERT_TRUE(std::equal(row, row + drawn.width, drawn.indices.begin() + y * drawn.width))
        << scale << "x: row " << y << " from the top";
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

// At every scale the sheet is the 1x layout times the scale: frames are black outside the
// sprite's box (its margins times the scale), each mask is black exactly under its frame's
// pixels and white elsewhere, and every frame has a silhouette of its own.
TEST_P(ArtAtScale, TheSheetKeepsFramesInTheirBoxAndMasksExactlyUnderThem) {
  const int k = GetParam();
  const art::IndexedImage& sheet = Sheet(k);
  ASSERT_EQ(sheet.width, kSheetWidth * k);
  ASSERT_EQ(sheet.height, kSheetHeight * k);
  const int cell = kSheetCell * k;
  std::set<std::vector<bool>> silhouettes;
  for (int f = 0; f < kSheetFrames; ++f) {
    std::vector<bool> silhouette;
    int drawn = 0;
    for (int y = 0; y < cell; ++y) {
      for (int x = 0; x < cell && f * cell + x < sheet.width; ++x) {
        const int frame = sheet.at(f * cell + x, y);
        const int mask = sheet.at(f * cell + x, kSheetMaskRowY * k + y);
        const bool in_box = x >= kSpriteLeft * k && x < (kSpriteRight + 1) * k &&
                            y >= kSpriteTop * k && y < (kSpriteBottom + 1) * k;
        drawn += frame != kSheetBlackIndex;
        silhouette.push_back(mask == kSheetBlackIndex);
        ASSERT_TRUE(frame == kSheetBlackIndex || in_box)
            << k << "x frame " << f << " at " << x << ", " << y;
        ASSERT_TRUE(mask == kSheetBlackIndex || mask == kSheetWhiteIndex) << k << "x mask " << f;
        ASSERT_EQ(frame != kSheetBlackIndex, mask == kSheetBlackIndex)
            << k << "x frame " << f << " pixel " << x << ", " << y
            << (mask == kSheetBlackIndex ? ": the mask cuts a hole the frame does not fill"
                                         : ": the frame would be ORed over the screen");
      }
    }
    EXPECT_GT(drawn, 64 * 64 * k * k / 8) << k << "x frame " << f << " holds almost nothing";
    EXPECT_TRUE(silhouettes.insert(silhouette).second) << k << "x mask " << f << " repeats another";
  }
  EXPECT_TRUE(sheet.palette[kSheetBlackIndex] == (art::Rgb{0, 0, 0}));
  EXPECT_TRUE(sheet.palette[kSheetWhiteIndex] == (art::Rgb{255, 255, 255}));
}

}  // namespace
}  // namespace fq
