// Idleness from the compositor: ext_idle_notifier_v1 or KWin's org_kde_kwin_idle, each a
// notification on the seat that says "idled" after the interval without input and "resumed"
// at the next input.
#include <wayland-client.h>

#include <utility>

#include "ext_idle_notify_client.h"
#include "idle_watch.h"
#include "kde_idle_client.h"
#include "listener_guard.h"

namespace fq::wayland {
namespace {

// The seat and the notification live as long as the process, which ends with the watch: the
// connection's end frees them.
template <IdleChange change>
void Noted(void* data, void* /*notification*/) {
  static_cast<std::vector<IdleChange>*>(data)->push_back(change);
}

class CompositorWatch final : public IdleWatch {
 public:
  CompositorWatch(wl_display& display, wl_registry& registry, IdleSource source,
                  const Global& notifier, const Global& seat, uint32_t seconds)
      : display_(display) {
    auto* on = static_cast<wl_seat*>(wl_registry_bind(&registry, seat.name, &wl_seat_interface, 1));
    const uint32_t interval = seconds * 1000;
    if (source == IdleSource::kIdleNotifier) {
      auto* notifications = static_cast<ext_idle_notifier_v1*>(
          wl_registry_bind(&registry, notifier.name, &ext_idle_notifier_v1_interface, 1));
      static constexpr ext_idle_notification_v1_listener kListener{
          .idled = Guarded<Noted<IdleChange::kIdle>>,
          .resumed = Guarded<Noted<IdleChange::kActive>>};
      ext_idle_notification_v1_add_listener(
          ext_idle_notifier_v1_get_idle_notification(notifications, interval, on), &kListener,
          &changes_);
    } else {
      auto* timeouts = static_cast<org_kde_kwin_idle*>(
          wl_registry_bind(&registry, notifier.name, &org_kde_kwin_idle_interface, 1));
      static constexpr org_kde_kwin_idle_timeout_listener kListener{
          .idle = Guarded<Noted<IdleChange::kIdle>>,
          .resumed = Guarded<Noted<IdleChange::kActive>>};
      org_kde_kwin_idle_timeout_add_listener(
          org_kde_kwin_idle_get_idle_timeout(timeouts, on, interval), &kListener, &changes_);
    }
    Dispatched(wl_display_roundtrip(&display_));
  }

  pollfd Waiting() override { return {wl_display_get_fd(&display_), POLLIN, 0}; }

  std::vector<IdleChange> Changes() override {
    DispatchReady(display_);
    return std::exchange(changes_, {});
  }

 private:
  wl_display& display_;
  std::vector<IdleChange> changes_;
};

}  // namespace

std::unique_ptr<IdleWatch> CompositorIdleWatch(wl_display& display, wl_registry& registry,
                                               IdleSource source, const Global& notifier,
                                               const Global& seat, uint32_t seconds) {
  return std::make_unique<CompositorWatch>(display, registry, source, notifier, seat, seconds);
}

}  // namespace fq::wayland
