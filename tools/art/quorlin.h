// The quorlin: a round, big-eyed flying creature with two wings, drawn from
// shapes and light alone. It is seen from the side and a little above, facing
// right with its nose tipped down, as it flies across the screen.
#pragma once

#include "art/geometry.h"
#include "art/layer_raster.h"

namespace fq::art {

// One moment of the wing beat.
struct Pose {
  double wing_degrees = 0;  // wing elevation: 90 straight up, 0 level, below 0 down
  double lift = 0;          // how far the whole creature rises, in body units
};

// Where and how large the creature lands in a picture. The body is 28 units
// across and, with its wings, tail and feelers, reaches about 30 units from
// the body's centre.
struct Framing {
  int width = 0;
  int height = 0;
  double scale = 1;   // pixels per body unit
  Vec2 centre{};      // pixel position of the body's centre
  double edge = 1;    // width of the dark outline, in pixels
  bool fine_parts = true;  // tail, feelers, mouth: only where they get pixels enough
};

Painting DrawQuorlin(const Pose& pose, const Framing& framing);

}  // namespace fq::art
