#include "startup/instance_guard.h"

namespace fq {

// Placeholder until the guard lands: every saver runs.
void CheckPrevInstance(Platform&, SaverForm&) {}

}  // namespace fq
