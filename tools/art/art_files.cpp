// Draws every picture once and encodes it under its committed file name.
#include "art/art_files.h"

#include "art/palette.h"
#include "art/zlib_formats.h"
#include "platform/screen_scale.h"
#include "resources/resource_ids.h"

namespace fq::art {

std::string ScaledFileName(const std::string& name, int scale) {
  return name + "_" + std::to_string(scale) + "x.bmp.zlib";
}

std::vector<ArtFile> DrawArtFiles() {
  std::array<uint8_t, 256> opacity{};
  const IndexedImage huge_indexed = Reduced(DrawTrueColourIcon(256), opacity);
  const IconEntry huge{256, 32, EncodePng(huge_indexed, opacity)};
  const IconEntry medium = IconEntryOf(DrawIcon(48));
  const IconEntry large = IconEntryOf(DrawIcon(32));
  const IconEntry small = IconEntryOf(DrawIcon(16));
  const Bytes logo = EncodeBmp(DrawLogo(1));
  std::vector<ArtFile> files = {
      {"sprite_sheet.bmp", EncodeBmpRle8(DrawSpriteSheet(1))},
      {"logo.bmp", logo},
      {"icon_256.png", huge.image},
      {"icon_48.dib", medium.image},
      {"icon_32.dib", large.image},
      {"icon_16.dib", small.image},
      {"icon_group.bin", EncodeIconGroup({{&large, kIconLargeId},
                                          {&small, kIconSmallId},
                                          {&medium, kIconMediumId},
                                          {&huge, kIconHugeId}})},
      {"FlyingQuorlin.ico", EncodeIcoFile({&large, &small, &medium, &huge})},
  };
  // The 1x logo keeps its 24 bits; in the program it is compressed like the others.
  files.push_back({ScaledFileName("logo", 1), Deflated(logo)});
  for (int scale = 2; scale <= kMaxScale; ++scale) {
    files.push_back({ScaledFileName("sprite_sheet", scale),
                     Deflated(EncodeBmp8(DrawSpriteSheet(scale)))});
    files.push_back({ScaledFileName("logo", scale),
                     Deflated(EncodeBmp8(Reduced(DrawLogo(scale))))});
  }
  return files;
}

}  // namespace fq::art
