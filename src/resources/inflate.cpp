// A small inflater: canonical Huffman codes decoded a bit at a time, which is slow but short, and
// the pictures are read once. Every block type is read, not only the ones zlib writes for them.
#include "resources/inflate.h"

#include <array>

namespace fq {
namespace {

constexpr int kMaxBits = 15;
constexpr int kLengthSymbols = 286;  // 288 in the fixed code; the last two never occur
constexpr int kDistanceSymbols = 30;

class BitReader {
 public:
  explicit BitReader(std::span<const uint8_t> data) : data_(data) {}

  // The next `count` bits, first bit lowest; false once the data run out.
  bool Read(int count, uint32_t& value) {
    value = 0;
    for (int i = 0; i < count; ++i) {
      if (position_ / 8 >= data_.size()) return false;
      value |= static_cast<uint32_t>(data_[position_ / 8] >> (position_ % 8) & 1) << i;
      ++position_;
    }
    return true;
  }

  // Skips to the next whole byte, where stored blocks and the checksum start.
  void Align() { position_ = (position_ + 7) / 8 * 8; }

  // The next `count` whole bytes (after Align), or an empty span if they are not there.
  std::span<const uint8_t> Bytes(size_t count) {
    const size_t at = position_ / 8;
    if (at > data_.size() || data_.size() - at < count) return {};
    position_ += count * 8;
    return data_.subspan(at, count);
  }

 private:
  std::span<const uint8_t> data_;
  size_t position_ = 0;
};

// A canonical Huffman code: how many codes each length has, and the symbols in code order.
struct Code {
  std::array<uint16_t, kMaxBits + 1> count{};
  std::array<uint16_t, 288> symbol{};
};

// False for lengths that promise more codes than the bits allow.
bool Build(std::span<const uint8_t> lengths, Code& code) {
  code.count.fill(0);
  for (uint8_t length : lengths) ++code.count[length];
  int left = 1;
  for (int length = 1; length <= kMaxBits; ++length) {
    left = left * 2 - code.count[length];
    if (left < 0) return false;
  }
  std::array<uint16_t, kMaxBits + 2> next{};
  for (int length = 1; length <= kMaxBits; ++length) {
    next[length + 1] = static_cast<uint16_t>(next[length] + code.count[length]);
  }
  for (size_t symbol = 0; symbol < lengths.size(); ++symbol) {
    if (lengths[symbol] != 0) code.symbol[next[lengths[symbol]]++] = static_cast<uint16_t>(symbol);
  }
  return true;
}

// The next symbol, or -1 for a code the table does not have or data that end.
int Decode(BitReader& bits, const Code& code) {
  int value = 0;  // the bits read so far
  int first = 0;  // the first code of the current length
  int index = 0;  // where that code's symbol lies
  for (int length = 1; length <= kMaxBits; ++length) {
    uint32_t bit = 0;
    if (!bits.Read(1, bit)) return -1;
    value |= static_cast<int>(bit);
    const int count = code.count[length];
    if (value - first < count) return code.symbol[index + value - first];
    index += count;
    first = (first + count) << 1;
    value <<= 1;
  }
  return -1;
}

constexpr std::array<uint16_t, 29> kLengthBase = {3,  4,  5,  6,  7,  8,  9,  10,  11,  13,
                                                  15, 17, 19, 23, 27, 31, 35, 43,  51,  59,
                                                  67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<uint8_t, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                  2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<uint16_t, 30> kDistanceBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<uint8_t, 30> kDistanceExtra = {0, 0, 0, 0, 1, 1, 2,  2,  3,  3,
                                                    4, 4, 5, 5, 6, 6, 7,  7,  8,  8,
                                                    9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

class Inflater {
 public:
  Inflater(std::span<const uint8_t> data, size_t limit, std::vector<uint8_t>& out)
      : bits_(data), limit_(limit), out_(out), start_(out.size()) {}

  bool Run() {
    uint32_t last = 0;
    do {
      uint32_t type = 0;
      if (!bits_.Read(1, last) || !bits_.Read(2, type)) return false;
      const bool ok = type == 0 ? Stored() : type == 1 ? Fixed() : type == 2 && Dynamic();
      if (!ok) return false;
    } while (!last);
    return true;
  }

  BitReader& bits() { return bits_; }

 private:
  bool Put(uint8_t byte) {
    if (out_.size() - start_ >= limit_) return false;
    out_.push_back(byte);
    return true;
  }

  bool Stored() {
    bits_.Align();
    const std::span<const uint8_t> header = bits_.Bytes(4);
    if (header.empty()) return false;
    const unsigned length = header[0] | header[1] << 8;
    if ((length ^ (header[2] | header[3] << 8)) != 0xFFFF) return false;
    const std::span<const uint8_t> bytes = bits_.Bytes(length);
    if (bytes.size() != length) return false;
    for (uint8_t byte : bytes) {
      if (!Put(byte)) return false;
    }
    return true;
  }

  bool Fixed() {
    std::array<uint8_t, 288> lengths{};
    for (size_t i = 0; i < lengths.size(); ++i) {
      lengths[i] = i < 144 ? 8 : i < 256 ? 9 : i < 280 ? 7 : 8;
    }
    std::array<uint8_t, kDistanceSymbols> distances{};
    distances.fill(5);
    Code length_code, distance_code;
    Build(lengths, length_code);
    Build(distances, distance_code);
    return Codes(length_code, distance_code);
  }

  bool Dynamic() {
    uint32_t lengths_count = 0, distances_count = 0, code_count = 0;
    if (!bits_.Read(5, lengths_count) || !bits_.Read(5, distances_count) ||
        !bits_.Read(4, code_count)) {
      return false;
    }
    lengths_count += 257;
    distances_count += 1;
    code_count += 4;
    if (lengths_count > kLengthSymbols || distances_count > kDistanceSymbols) return false;
    // The lengths of the code the other two codes' lengths are written in, in this order.
    constexpr std::array<uint8_t, 19> kOrder = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                11, 4,  12, 3, 13, 2, 14, 1, 15};
    std::array<uint8_t, 19> code_lengths{};
    for (uint32_t i = 0; i < code_count; ++i) {
      uint32_t length = 0;
      if (!bits_.Read(3, length)) return false;
      code_lengths[kOrder[i]] = static_cast<uint8_t>(length);
    }
    Code lengths_code;
    if (!Build(code_lengths, lengths_code)) return false;
    std::array<uint8_t, kLengthSymbols + kDistanceSymbols> lengths{};
    for (uint32_t i = 0; i < lengths_count + distances_count;) {
      const int symbol = Decode(bits_, lengths_code);
      if (symbol < 0) return false;
      if (symbol < 16) {
        lengths[i++] = static_cast<uint8_t>(symbol);
        continue;
      }
      // 16 repeats the last length 3 to 6 times, 17 and 18 write 3 to 10 or 11 to 138 zeros.
      uint32_t repeat = 0;
      uint8_t value = 0;
      if (symbol == 16) {
        if (i == 0 || !bits_.Read(2, repeat)) return false;
        value = lengths[i - 1];
        repeat += 3;
      } else if (symbol == 17) {
        if (!bits_.Read(3, repeat)) return false;
        repeat += 3;
      } else {
        if (!bits_.Read(7, repeat)) return false;
        repeat += 11;
      }
      if (i + repeat > lengths_count + distances_count) return false;
      while (repeat-- > 0) lengths[i++] = value;
    }
    if (lengths[256] == 0) return false;  // no end-of-block code: the block could never end
    Code length_code, distance_code;
    if (!Build(std::span(lengths).first(lengths_count), length_code) ||
        !Build(std::span(lengths).subspan(lengths_count, distances_count), distance_code)) {
      return false;
    }
    return Codes(length_code, distance_code);
  }

  bool Codes(const Code& length_code, const Code& distance_code) {
    for (;;) {
      const int symbol = Decode(bits_, length_code);
      if (symbol < 0) return false;
      if (symbol < 256) {
        if (!Put(static_cast<uint8_t>(symbol))) return false;
        continue;
      }
      if (symbol == 256) return true;
      const size_t at = static_cast<size_t>(symbol - 257);
      uint32_t extra = 0;
      if (at >= kLengthBase.size() || !bits_.Read(kLengthExtra[at], extra)) return false;
      const size_t length = kLengthBase[at] + extra;
      const int distance_symbol = Decode(bits_, distance_code);
      if (distance_symbol < 0 || distance_symbol >= kDistanceSymbols ||
          !bits_.Read(kDistanceExtra[distance_symbol], extra)) {
        return false;
      }
      const size_t distance = kDistanceBase[distance_symbol] + extra;
      if (distance > out_.size() - start_) return false;
      for (size_t i = 0; i < length; ++i) {
        if (!Put(out_[out_.size() - distance])) return false;
      }
    }
  }

  BitReader bits_;
  size_t limit_;
  std::vector<uint8_t>& out_;
  size_t start_;
};

uint32_t Adler32(std::span<const uint8_t> bytes) {
  uint32_t a = 1, b = 0;
  for (uint8_t byte : bytes) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  return b << 16 | a;
}

}  // namespace

bool Inflate(std::span<const uint8_t> data, size_t limit, std::vector<uint8_t>& out) {
  // The header: deflate with a window of at most 32 KiB, no preset dictionary, and the check
  // that makes it a multiple of 31.
  if (data.size() < 2 || (data[0] & 0x0F) != 8 || data[0] >> 4 > 7 || (data[1] & 0x20) != 0 ||
      (data[0] << 8 | data[1]) % 31 != 0) {
    return false;
  }
  const size_t start = out.size();
  Inflater inflater(data.subspan(2), limit, out);
  if (!inflater.Run()) return false;
  inflater.bits().Align();
  const std::span<const uint8_t> check = inflater.bits().Bytes(4);
  return check.size() == 4 &&
         Adler32(std::span(out).subspan(start)) ==
             (static_cast<uint32_t>(check[0]) << 24 | check[1] << 16 | check[2] << 8 | check[3]);
}

}  // namespace fq
