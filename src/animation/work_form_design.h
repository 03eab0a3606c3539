// The work form frmWork as designed: the sizes its blank surfaces have before the scene set-up
// (and each other monitor's) replaces both. A header of its own, so that the flocks on the
// other monitors read it without the scene that holds them.
#pragma once

#include "platform/work_surfaces.h"

namespace fq {

// 585 by 615 and 495 by 615 twips.
inline constexpr WorkFormDesign kWorkFormDesign{{39, 41}, {33, 41}};

}  // namespace fq
