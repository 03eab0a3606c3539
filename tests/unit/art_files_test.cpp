// The generated pictures as committed: identical to the generator's output,
// and in the exact layouts the resource compiler and Windows expect.
#include <gtest/gtest.h>

#include "resource_file.h"
#include "resources/art/art_files.h"

namespace fq {
namespace {

using testing::InfoHeader;
using testing::ResourceFile;

TEST(ArtFiles, CommittedFilesEqualTheGeneratorsOutput) {
  for (const art::ArtFile& generated : art::DrawArtFiles()) {
    const ResourceFile committed = ResourceFile::Read(generated.name);
    ASSERT_FALSE(committed.bytes.empty()) << generated.name << " is missing under src/resources";
    EXPECT_EQ(committed.bytes.size(), generated.bytes.size()) << generated.name;
    const auto [mismatch, _] = std::mismatch(committed.bytes.begin(), committed.bytes.end(),
                                             generated.bytes.begin(), generated.bytes.end());
    EXPECT_TRUE(committed.bytes == generated.bytes)
        << generated.name << " first differs at byte " << (mismatch - committed.bytes.begin())
        << "; regenerate it (src/resources/art/README.md)";
  }
}

TEST(ArtFiles, LogoIsA76By64TrueColourBitmapWithAPicture) {
  const ResourceFile logo = ResourceFile::Read("logo.bmp");
  ASSERT_EQ(logo.U16(0), 0x4D42u) << "no BM signature";
  const InfoHeader h = InfoHeader::At(logo, 14);
  EXPECT_EQ(h.width, 76);
  EXPECT_EQ(h.height, 64);
  EXPECT_EQ(h.bits, 24u);
  EXPECT_EQ(h.compression, 0u);
  const uint32_t pixels = logo.U32(10);
  EXPECT_EQ(pixels, 54u);
  EXPECT_EQ(logo.bytes.size(), pixels + 76u * 3 * 64) << "rows of 228 bytes need no padding";
  size_t lit = 0;
  for (size_t i = pixels; i < logo.bytes.size(); i += 3) lit += logo.U8(i) + logo.U8(i + 1) + logo.U8(i + 2) > 0;
  EXPECT_GT(lit, 76u * 64 / 4) << "the logo is nearly all black";
}

// Every RT_ICON payload: header, palette, colour rows, then AND rows; where
// the AND bit is set the colour must be index 0 (black), or the desktop would
// show through tinted.
TEST(ArtFiles, IconImagesHaveTheirExactSizesAndConsistentMasks) {
  const struct {
    const char* name;
    int size;
    size_t bytes;
  } icons[] = {{"icon_32.dib", 32, 2216}, {"icon_16.dib", 16, 1384}};
  for (const auto& icon : icons) {
    SCOPED_TRACE(icon.name);
    const ResourceFile f = ResourceFile::Read(icon.name);
    ASSERT_EQ(f.bytes.size(), icon.bytes);
    const InfoHeader h = InfoHeader::At(f, 0);
    EXPECT_EQ(h.size, 40u);
    EXPECT_EQ(h.width, icon.size);
    EXPECT_EQ(h.height, 2 * icon.size) << "an icon's height counts its colour and mask rows";
    EXPECT_EQ(h.bits, 8u);
    EXPECT_EQ(h.compression, 0u);
    EXPECT_EQ(f.U32(40), 0u) << "palette entry 0, the transparent pixels' colour, is black";
    const size_t colours = 40 + 1024;
    const size_t mask = colours + static_cast<size_t>(icon.size) * icon.size;
    const size_t mask_row = 4;  // 16 or 32 bits, padded to 4 bytes
    int opaque = 0;
    for (int row = 0; row < icon.size; ++row) {
      for (int x = 0; x < icon.size; ++x) {
        const bool transparent = f.U8(mask + row * mask_row + x / 8) & (0x80 >> (x % 8));
        const uint32_t index = f.U8(colours + static_cast<size_t>(row) * icon.size + x);
        if (transparent) {
          ASSERT_EQ(index, 0u) << "transparent pixel " << x << " of stored row " << row;
        } else {
          ++opaque;
          ASSERT_NE(index, 0u) << "opaque pixel " << x << " of stored row " << row << " is index 0";
        }
      }
    }
    EXPECT_GT(opaque, icon.size * icon.size / 4) << "the icon shows almost nothing";
    EXPECT_LT(opaque, icon.size * icon.size) << "the icon has no transparent pixel";
  }
}

}  // namespace
}  // namespace fq
