#include "ports/unix/embedded_sheets.h"

#include <cstdint>
#include <span>
#include <vector>

#include "base/fault.h"
#include "platform/screen_scale.h"
#include "resources/inflate.h"

namespace fq {

// The committed files, byte for byte (generated sources).
std::span<const uint8_t> StoredSpriteSheet1x();
std::span<const uint8_t> StoredSpriteSheet2x();
std::span<const uint8_t> StoredSpriteSheet3x();

namespace {

// The BMP file of the sheet for `scale`.
std::span<const uint8_t> SheetFile(int scale) {
  // Expanded once per scale, on first use (static initialisation is thread-safe, and a fault
  // leaves the next call to try again).
  const auto expanded = [](std::span<const uint8_t> stored) {
    std::vector<uint8_t> file;
    if (!Inflate(stored, kLargestPicture, file)) {
      throw Fault(FaultKind::PlatformFailure, "A compressed picture is damaged.");
    }
    return file;
  };
  static_assert(kMaxScale == 3, "a sprite sheet is embedded for each scale");
  switch (scale) {
    case 1:
      return StoredSpriteSheet1x();
    case 2: {
      static const std::vector<uint8_t> file = expanded(StoredSpriteSheet2x());
      return file;
    }
    case 3: {
      static const std::vector<uint8_t> file = expanded(StoredSpriteSheet3x());
      return file;
    }
  }
  throw Fault(FaultKind::PlatformFailure, "No sprite sheet is drawn for that scale.");
}

}  // namespace

Picture EmbeddedSheet(int scale) { return DecodeBmp(SheetFile(scale)); }

}  // namespace fq
