// fq_draw_art: writes the program's generated pictures into a folder
// (normally src/resources/). Usage: fq_draw_art <folder>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "art/art_files.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fq_draw_art <output folder>\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  if (!std::filesystem::is_directory(folder)) {
    std::fprintf(stderr, "fq_draw_art: %s is not a folder\n", argv[1]);
    return 1;
  }
  for (const fq::art::ArtFile& file : fq::art::DrawArtFiles()) {
    const std::filesystem::path path = folder / file.name;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.bytes.data()),
              static_cast<std::streamsize>(file.bytes.size()));
    out.close();
    if (!out) {
      std::fprintf(stderr, "fq_draw_art: cannot write %s\n", path.string().c_str());
      return 1;
    }
    std::printf("%s (%zu bytes)\n", path.string().c_str(), file.bytes.size());
  }
  return 0;
}
