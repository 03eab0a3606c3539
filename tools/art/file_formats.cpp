// Byte layouts of bitmaps and icons, little-endian, rows padded to 4 bytes.
#include "art/file_formats.h"

namespace fq::art {
namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kPaletteSize = 256 * 4;
constexpr int32_t kPixelsPerMetre = 3780;  // 96 dots per inch

class Writer {
 public:
  void U8(uint8_t v) { bytes_.push_back(v); }
  void U16(uint16_t v) {
    U8(static_cast<uint8_t>(v));
    U8(static_cast<uint8_t>(v >> 8));
  }
  void U32(uint32_t v) {
    U16(static_cast<uint16_t>(v));
    U16(static_cast<uint16_t>(v >> 16));
  }
  void Pad(size_t n) { bytes_.insert(bytes_.end(), n, 0); }
  void Append(const Bytes& b) { bytes_.insert(bytes_.end(), b.begin(), b.end()); }
  Bytes Take() { return std::move(bytes_); }

 private:
  Bytes bytes_;
};

uint32_t RowBytes(int width, int bits) { return static_cast<uint32_t>((width * bits + 31) / 32 * 4); }

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;

void InfoHeader(Writer& w, int width, int height, int bits, uint32_t image_size, uint32_t colours,
                int32_t pixels_per_metre, uint32_t compression = kBiRgb) {
  w.U32(kInfoHeaderSize);
  w.U32(static_cast<uint32_t>(width));
  w.U32(static_cast<uint32_t>(height));
  w.U16(1);  // planes
  w.U16(static_cast<uint16_t>(bits));
  w.U32(compression);
  w.U32(image_size);
  w.U32(static_cast<uint32_t>(pixels_per_metre));
  w.U32(static_cast<uint32_t>(pixels_per_metre));
  w.U32(colours);
  w.U32(0);  // all colours important
}

void Palette(Writer& w, const std::array<Rgb, 256>& palette) {
  for (Rgb c : palette) {
    w.U8(c.b);
    w.U8(c.g);
    w.U8(c.r);
    w.U8(0);
  }
}

void IndexRows(Writer& w, const IndexedImage& image) {
  const uint32_t pad = RowBytes(image.width, 8) - static_cast<uint32_t>(image.width);
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) w.U8(image.at(x, y));
    w.Pad(pad);
  }
}

// BI_RLE8, bottom row first: a run of two or more equal indices as (count, index), three or
// more unequal ones as (0, count, indices, padding to a word), a lone one as a run of one;
// each row ends with (0, 0) and the picture with (0, 1). No row is skipped.
Bytes Rle8Rows(const IndexedImage& image) {
  Writer w;
  for (int y = image.height - 1; y >= 0; --y) {
    const uint8_t* row = &image.indices[static_cast<size_t>(y) * image.width];
    int x = 0;
    while (x < image.width) {
      int run = 1;
      while (x + run < image.width && run < 255 && row[x + run] == row[x]) ++run;
      if (run > 1) {
        w.U8(static_cast<uint8_t>(run));
        w.U8(row[x]);
        x += run;
        continue;
      }
      int end = x + 1;
      while (end < image.width && end - x < 255 &&
             !(end + 1 < image.width && row[end] == row[end + 1])) {
        ++end;
      }
      const int literal = end - x;
      if (literal < 3) {
        for (; x < end; ++x) {
          w.U8(1);
          w.U8(row[x]);
        }
        continue;
      }
      w.U8(0);
      w.U8(static_cast<uint8_t>(literal));
      for (; x < end; ++x) w.U8(row[x]);
      w.Pad(static_cast<size_t>(literal % 2));
    }
    w.U16(0);  // end of row
  }
  w.U8(0);
  w.U8(1);  // end of picture
  return w.Take();
}

void FileHeader(Writer& w, uint32_t pixel_offset, uint32_t image_size) {
  w.U8('B');
  w.U8('M');
  w.U32(pixel_offset + image_size);
  w.U32(0);
  w.U32(pixel_offset);
}

}  // namespace

Bytes EncodeBmpRle8(const IndexedImage& image) {
  const Bytes rows = Rle8Rows(image);
  const auto image_size = static_cast<uint32_t>(rows.size());
  Writer w;
  FileHeader(w, kFileHeaderSize + kInfoHeaderSize + kPaletteSize, image_size);
  InfoHeader(w, image.width, image.height, 8, image_size, 256, kPixelsPerMetre, kBiRle8);
  Palette(w, image.palette);
  w.Append(rows);
  return w.Take();
}

Bytes EncodeBmp8(const IndexedImage& image) {
  const uint32_t image_size = RowBytes(image.width, 8) * static_cast<uint32_t>(image.height);
  Writer w;
  FileHeader(w, kFileHeaderSize + kInfoHeaderSize + kPaletteSize, image_size);
  InfoHeader(w, image.width, image.height, 8, image_size, 256, kPixelsPerMetre);
  Palette(w, image.palette);
  IndexRows(w, image);
  return w.Take();
}

Bytes EncodeBmp(const RgbImage& image) {
  const uint32_t row = RowBytes(image.width, 24);
  const uint32_t image_size = row * static_cast<uint32_t>(image.height);
  Writer w;
  FileHeader(w, kFileHeaderSize + kInfoHeaderSize, image_size);
  InfoHeader(w, image.width, image.height, 24, image_size, 0, kPixelsPerMetre);
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      const Rgb c = image.pixels[static_cast<size_t>(y) * image.width + x];
      w.U8(c.b);
      w.U8(c.g);
      w.U8(c.r);
    }
    w.Pad(row - static_cast<uint32_t>(image.width) * 3);
  }
  return w.Take();
}

Bytes EncodeIconImage(const IconImage& icon) {
  const IndexedImage& image = icon.colours;
  const uint32_t mask_row = RowBytes(image.width, 1);
  const uint32_t image_size =
      (RowBytes(image.width, 8) + mask_row) * static_cast<uint32_t>(image.height);
  Writer w;
  // The height counts the colour rows and the mask rows together; icons
  // leave the resolution at 0.
  InfoHeader(w, image.width, image.height * 2, 8, image_size, 256, 0);
  Palette(w, image.palette);
  IndexRows(w, image);
  for (int y = image.height - 1; y >= 0; --y) {
    Bytes row(mask_row, 0);
    for (int x = 0; x < image.width; ++x) {
      if (icon.transparent[static_cast<size_t>(y) * image.width + x]) {
        row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
      }
    }
    w.Append(row);
  }
  return w.Take();
}

IconEntry IconEntryOf(const IconImage& icon) {
  return {icon.colours.width, 8, EncodeIconImage(icon)};
}

namespace {

// The fields GRPICONDIRENTRY and ICONDIRENTRY share, before their last one.
void DirectoryEntryStart(Writer& w, const IconEntry& entry) {
  // 256 pixels do not fit the byte and are written as 0, as the format says.
  w.U8(static_cast<uint8_t>(entry.size));
  w.U8(static_cast<uint8_t>(entry.size));
  w.U8(0);  // colour count: 0 for 256 colours or more
  w.U8(0);
  w.U16(1);  // planes
  w.U16(static_cast<uint16_t>(entry.bits));
  w.U32(static_cast<uint32_t>(entry.image.size()));
}

void DirectoryHeader(Writer& w, size_t count) {
  w.U16(0);
  w.U16(1);  // icons, not cursors
  w.U16(static_cast<uint16_t>(count));
}

}  // namespace

Bytes EncodeIconGroup(const std::vector<GroupMember>& members) {
  Writer w;
  DirectoryHeader(w, members.size());
  for (const GroupMember& m : members) {
    DirectoryEntryStart(w, *m.entry);
    w.U16(m.id);
  }
  return w.Take();
}

Bytes EncodeIcoFile(const std::vector<const IconEntry*>& entries) {
  constexpr uint32_t kDirectoryHeader = 6;
  constexpr uint32_t kEntry = 16;
  Writer w;
  DirectoryHeader(w, entries.size());
  uint32_t offset = kDirectoryHeader + kEntry * static_cast<uint32_t>(entries.size());
  for (const IconEntry* entry : entries) {
    DirectoryEntryStart(w, *entry);
    w.U32(offset);
    offset += static_cast<uint32_t>(entry->image.size());
  }
  for (const IconEntry* entry : entries) w.Append(entry->image);
  return w.Take();
}

}  // namespace fq::art
