// Draws every picture once and encodes it under its committed file name.
#include "art/art_files.h"

#include "resources/resource_ids.h"

namespace fq::art {

std::vector<ArtFile> DrawArtFiles() {
  const IconImage large = DrawIcon(32);
  const IconImage small = DrawIcon(16);
  return {
      {"sprite_sheet.bmp", EncodeBmpRle8(DrawSpriteSheet())},
      {"logo.bmp", EncodeBmp(DrawLogo())},
      {"icon_32.dib", EncodeIconImage(large)},
      {"icon_16.dib", EncodeIconImage(small)},
      {"icon_group.bin", EncodeIconGroup({{&large, kIconLargeId}, {&small, kIconSmallId}})},
      {"FlyingQuorlin.ico", EncodeIcoFile({&large, &small})},
  };
}

}  // namespace fq::art
