// The inflater against zlib itself: what zlib writes, in each kind of block, comes back byte for
// byte, and damaged streams are refused without reading or writing out of bounds.
#include <gtest/gtest.h>
#include <zlib.h>

#include <vector>

#include "resources/inflate.h"

namespace fq {
namespace {

// Text that repeats at short and long distances, with a stretch of every byte value.
std::vector<uint8_t> Sample() {
  std::vector<uint8_t> bytes;
  for (int i = 0; i < 40000; ++i) {
    bytes.push_back(static_cast<uint8_t>(i % 7 == 0 ? i / 7 : "quorlin"[i % 7]));
  }
  for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<uint8_t>(i));
  return bytes;
}

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& bytes, int level, int strategy) {
  z_stream stream{};
  EXPECT_EQ(deflateInit2(&stream, level, Z_DEFLATED, 15, 8, strategy), Z_OK);
  std::vector<uint8_t> out(deflateBound(&stream, bytes.size()));
  stream.next_in = const_cast<uint8_t*>(bytes.data());
  stream.avail_in = static_cast<uInt>(bytes.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

TEST(Inflate, ExpandsWhatZlibWritesInEveryKindOfBlock) {
  const struct {
    const char* blocks;
    int level;
    int strategy;
  } cases[] = {{"stored", 0, Z_DEFAULT_STRATEGY},
               {"fixed codes", 9, Z_FIXED},
               {"dynamic codes", 9, Z_DEFAULT_STRATEGY},
               {"runs only", 9, Z_RLE}};
  const std::vector<uint8_t> sample = Sample();
  for (const auto& c : cases) {
    std::vector<uint8_t> out{42};  // kept: the expansion is appended
    ASSERT_TRUE(Inflate(Deflate(sample, c.level, c.strategy), sample.size(), out)) << c.blocks;
    EXPECT_EQ(out.front(), 42) << c.blocks;
    EXPECT_TRUE(std::equal(out.begin() + 1, out.end(), sample.begin(), sample.end())) << c.blocks;
  }
}

TEST(Inflate, RefusesDamagedStreams) {
  const std::vector<uint8_t> good = Deflate(Sample(), 9, Z_DEFAULT_STRATEGY);
  const auto changed = [&](size_t at, uint8_t value) {
    std::vector<uint8_t> bytes = good;
    bytes[at] = value;
    return bytes;
  };
  const struct {
    const char* damage;
    std::vector<uint8_t> data;
    size_t limit;
  } cases[] = {
      {"empty", {}, 1 << 20},
      {"not deflate", changed(0, 0x79), 1 << 20},
      {"header check", changed(1, good[1] ^ 1), 1 << 20},
      {"cut short", {good.begin(), good.end() - 5}, 1 << 20},
      {"checksum", changed(good.size() - 1, good.back() ^ 1), 1 << 20},
      {"bits flipped inside", changed(good.size() / 2, good[good.size() / 2] ^ 0x5A), 1 << 20},
      {"longer than the limit", good, Sample().size() - 1},
      {"reserved block type", {0x78, 0x9C, 0x07, 0, 0, 0, 0, 0}, 1 << 20},
      {"stored length and its complement disagree",
       {0x78, 0x9C, 0x01, 3, 0, 3, 0, 'a', 'b', 'c'},
       1 << 20},
      {"a match before the first byte", {0x78, 0x9C, 0x03, 0x02, 0x00, 0x00}, 1 << 20},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> out;
    EXPECT_FALSE(Inflate(c.data, c.limit, out)) << c.damage;
  }
}

}  // namespace
}  // namespace fq
