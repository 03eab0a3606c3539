// The settings dialog as data: the window and each control, in twips, as the core defines
// them. A port turns twips into pixels with the system's pixels per inch.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fq {

enum class DialogControl { Ok, SpeedBox, CountBox, Cancel };

// Filled in by the settings dialog's owner.
struct DialogLayout {
  std::string caption;
};

}  // namespace fq
