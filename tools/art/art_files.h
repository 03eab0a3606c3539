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

}  // namespace fq::art
