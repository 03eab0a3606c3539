// Pictures the scaled-stage and monitor tests share.
#pragma once

#include "animation/sheet_layout.h"
#include "fake/fake_platform.h"

namespace fq::fake {

// Every pixel k by k: stands in for the sheet drawn at k, which the adapter cannot tell apart.
inline Pixels Enlarged(const Pixels& picture, int k) {
  Pixels large(picture.width * k, picture.height * k);
  for (int y = 0; y < large.height; ++y) {
    for (int x = 0; x < large.width; ++x) large.at(x, y) = picture.at(x / k, y / k);
  }
  return large;
}

// A sheet whose every pixel differs from its neighbours, frames over masks that let some
// of the background through.
inline Pixels PatternedSheet() {
  Pixels sheet(kSheetWidth, kSheetHeight);
  for (int y = 0; y < sheet.height; ++y) {
    for (int x = 0; x < sheet.width; ++x) {
      sheet.at(x, y) = y < kSheetMaskRowY ? uint32_t(x * 7 + y * 131) & 0xFFFFFF
                                          : ((x + y) % 3 == 0 ? 0xFFFFFFu : 0u);
    }
  }
  return sheet;
}

}  // namespace fq::fake
