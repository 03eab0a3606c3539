// `flyingquorlin-wayland --when-idle SECONDS`: a process that waits quietly, each time the
// session has been idle SECONDS runs the saver, and waits again.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fq::wayland {

// Waits for `seconds` of idleness (idle_watch.h), then runs the saver as a process of its own,
// this program with `saver_arguments`, which input ends; the saver is also ended when the
// source reports input that it missed (a key given to another window). Polls its source and
// its signals alone, without a timeout. SIGTERM ends the saver and the wait at once: answers
// the exit code then, 0. Throws MissingCompositor where the session cannot be covered or has
// no source of idleness, Fault when the source is lost.
int RunWhenIdle(uint32_t seconds, const std::vector<std::string>& saver_arguments);

}  // namespace fq::wayland
