// Reads the committed generated files under src/resources/ for the art tests,
// with little-endian field access.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fq::testing {

struct ResourceFile {
  std::string name;
  std::vector<uint8_t> bytes;

  static ResourceFile Read(const std::string& name) {
    std::ifstream in(std::string(FQ_RESOURCES_DIR) + "/" + name, std::ios::binary);
    return {name, {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()}};
  }
  uint32_t U8(size_t at) const { return at < bytes.size() ? bytes[at] : 0; }
  uint32_t U16(size_t at) const { return U8(at) | U8(at + 1) << 8; }
  uint32_t U32(size_t at) const { return U16(at) | U16(at + 2) << 16; }
  int32_t I32(size_t at) const { return static_cast<int32_t>(U32(at)); }
};

// The BITMAPINFOHEADER fields the pictures must get right.
struct InfoHeader {
  uint32_t size;
  int32_t width;
  int32_t height;
  uint32_t planes;
  uint32_t bits;
  uint32_t compression;
  uint32_t colours_used;

  static InfoHeader At(const ResourceFile& f, size_t at) {
    return {f.U32(at),      f.I32(at + 4),  f.I32(at + 8), f.U16(at + 12),
            f.U16(at + 14), f.U32(at + 16), f.U32(at + 32)};
  }
};

}  // namespace fq::testing
