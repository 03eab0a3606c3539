// A size in pixels, as surfaces, windows and pictures have one.
#pragma once

#include <cstdint>

namespace fq {

struct Extent {
  int32_t width = 0;
  int32_t height = 0;
};

}  // namespace fq
