// Writes pictures in the byte layouts Windows reads: bitmap files, the payload
// of an RT_ICON resource, an RT_GROUP_ICON directory, and an .ico file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "art/pictures.h"

namespace fq::art {

using Bytes = std::vector<uint8_t>;

// Bottom-up bitmap files (BITMAPFILEHEADER + BITMAPINFOHEADER).
Bytes EncodeBmpRle8(const IndexedImage& image);  // 8 bits, 256-entry palette, BI_RLE8
Bytes EncodeBmp8(const IndexedImage& image);     // 8 bits, 256-entry palette, uncompressed
Bytes EncodeBmp(const RgbImage& image);          // 24 bits, uncompressed

// What an RT_ICON resource holds: the header with twice the height, the
// palette, the colour rows and the AND mask rows.
Bytes EncodeIconImage(const IconImage& icon);

// An icon image as a group and an .ico file list it: its payload is an
// RT_ICON image or, for the largest, a PNG file.
struct IconEntry {
  int size = 0;  // width and height
  int bits = 0;
  Bytes image;
};

IconEntry IconEntryOf(const IconImage& icon);

// An image of an icon group and the RT_ICON name it is stored under.
struct GroupMember {
  const IconEntry* entry;
  uint16_t id;
};

Bytes EncodeIconGroup(const std::vector<GroupMember>& members);  // GRPICONDIR
Bytes EncodeIcoFile(const std::vector<const IconEntry*>& entries);

}  // namespace fq::art
