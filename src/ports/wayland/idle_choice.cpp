// The choice of an idle source and the reading of --when-idle, apart from any connection.
#include <algorithm>
#include <charconv>

#include "idle_watch.h"
#include "ports/unix/saver_options.h"

namespace fq::wayland {

const Global* Find(std::span<const Global> globals, std::string_view interface) {
  const auto found = std::find_if(globals.begin(), globals.end(),
                                  [&](const Global& global) { return global.interface == interface; });
  return found == globals.end() ? nullptr : &*found;
}

IdleSource ChooseIdleSource(std::span<const Global> globals,
                            const std::function<bool()>& mutter_answers) {
  if (Find(globals, "wl_seat")) {
    if (Find(globals, kIdleNotifierName)) return IdleSource::kIdleNotifier;
    if (Find(globals, kKdeIdleName)) return IdleSource::kKdeIdle;
  }
  return mutter_answers() ? IdleSource::kMutterMonitor : IdleSource::kNone;
}

uint32_t ReadIdleSeconds(std::string_view text) {
  uint32_t seconds = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, seconds);
  if (text.empty() || error != std::errc() || stop != end || seconds < 1 ||
      seconds > kMostIdleSeconds) {
    throw OptionError("--when-idle takes whole seconds from 1 to " +
                      std::to_string(kMostIdleSeconds) + ", not \"" + std::string(text) + "\".");
  }
  return seconds;
}

}  // namespace fq::wayland
