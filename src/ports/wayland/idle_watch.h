// What `--when-idle` learns the session's idleness from, and the choice among them: the
// compositor's ext_idle_notifier_v1, else its org_kde_kwin_idle (idle_notifiers.cpp), else
// GNOME's org.gnome.Mutter.IdleMonitor on the session bus (mutter_idle.cpp). Each is polled
// beside the program's signals and costs nothing while nothing changes.
#pragma once

#include <poll.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct wl_display;
struct wl_registry;

namespace fq::wayland {

enum class IdleSource { kIdleNotifier, kKdeIdle, kMutterMonitor, kNone };

// A global the compositor offers.
struct Global {
  std::string interface;
  uint32_t name = 0;
  uint32_t version = 0;
};

inline constexpr std::string_view kIdleNotifierName = "ext_idle_notifier_v1";
inline constexpr std::string_view kKdeIdleName = "org_kde_kwin_idle";
inline constexpr const char* kNoIdleSource =
    "--when-idle finds no source of idleness: the compositor offers neither "
    "ext_idle_notifier_v1 nor org_kde_kwin_idle, and no org.gnome.Mutter.IdleMonitor answers "
    "on the session bus.";

// The global of that interface; none where it is not offered.
const Global* Find(std::span<const Global> globals, std::string_view interface);

// The first source the session offers, best first; the compositor's need its seat.
// `mutter_answers` is asked only when the compositor offers none.
IdleSource ChooseIdleSource(std::span<const Global> globals,
                            const std::function<bool()>& mutter_answers);

// The value of --when-idle: whole seconds, 1 to kMostIdleSeconds. Throws OptionError.
inline constexpr uint32_t kMostIdleSeconds = 86400;
uint32_t ReadIdleSeconds(std::string_view text);

enum class IdleChange { kIdle, kActive };

class IdleWatch {
 public:
  virtual ~IdleWatch() = default;
  // What to wait for before Changes has news.
  virtual pollfd Waiting() = 0;
  // What changed since the last call, in order, without waiting: idle for the interval, then
  // active again at the next input. Throws Fault when the source is lost.
  virtual std::vector<IdleChange> Changes() = 0;
};

// Watches for `seconds` idle through the compositor's notifier: the global `notifier` of the
// kind `source` names, on the seat `seat`.
std::unique_ptr<IdleWatch> CompositorIdleWatch(wl_display& display, wl_registry& registry,
                                               IdleSource source, const Global& notifier,
                                               const Global& seat, uint32_t seconds);
// Whether Mutter's IdleMonitor answers on the session bus.
bool MutterMonitorAnswers();
std::unique_ptr<IdleWatch> MutterIdleWatch(uint32_t seconds);

}  // namespace fq::wayland
