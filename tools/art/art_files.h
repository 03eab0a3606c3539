// Every generated file under src/resources/, by name, as the tool writes it
// and the tests compare it.
#pragma once

#include <string>
#include <vector>

#include "art/file_formats.h"

namespace fq::art {

struct ArtFile {
  std::string name;  // relative to src/resources/
  Bytes bytes;
};

std::vector<ArtFile> DrawArtFiles();

// The file of the sheet or the logo ("sprite_sheet", "logo") drawn for
// `scale` 2 or more: an uncompressed 8-bit BMP file in a zlib stream.
std::string ScaledFileName(const std::string& name, int scale);

}  // namespace fq::art
