// Idleness from GNOME's compositor, which offers none to Wayland clients: its IdleMonitor on the
// session bus, through sd-bus. An idle watch fires each time the session has been idle for its
// interval; a user-active watch fires once, at the next input. An idle watch added while the
// session is idle already fires only after the next input and the interval, so the idle time
// is read once to tell.
#include <systemd/sd-bus.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <utility>

#include "base/fault.h"
#include "idle_watch.h"

namespace fq::wayland {
namespace {

constexpr const char* kService = "org.gnome.Mutter.IdleMonitor";
constexpr const char* kPath = "/org/gnome/Mutter/IdleMonitor/Core";
constexpr const char* kInterface = "org.gnome.Mutter.IdleMonitor";

Fault BusFault(const std::string& what, int error) {
  return Fault(FaultKind::PlatformFailure,
               "GNOME's idle monitor on the session bus: " + what + ": " + std::strerror(error));
}

class SessionBus {
 public:
  // Nothing when there is no session bus.
  SessionBus() {
    if (sd_bus_open_user(&bus_) < 0) bus_ = nullptr;
  }
  SessionBus(const SessionBus&) = delete;
  SessionBus& operator=(const SessionBus&) = delete;
  ~SessionBus() { sd_bus_flush_close_unref(bus_); }

  sd_bus* get() const { return bus_; }

  // Calls the monitor's `method` with no argument or one of `signature`, and answers its one
  // value of type T; a negative errno on failure.
  template <typename T, typename... Argument>
  int Call(const char* method, T& answer, const char* signature, Argument... argument) {
    sd_bus_error error{};  // SD_BUS_ERROR_NULL, which C++ cannot spell
    sd_bus_message* reply = nullptr;
    int result = sd_bus_call_method(bus_, kService, kPath, kInterface, method, &error, &reply,
                                    signature, argument...);
    if (result >= 0) result = sd_bus_message_read_basic(reply, Type<T>(), &answer);
    sd_bus_message_unref(reply);
    sd_bus_error_free(&error);
    return result;
  }

 private:
  template <typename T>
  static constexpr char Type() {
    return sizeof(T) == sizeof(uint64_t) ? 't' : 'u';
  }

  sd_bus* bus_ = nullptr;
};

class MutterWatch final : public IdleWatch {
 public:
  explicit MutterWatch(uint32_t seconds) : interval_(uint64_t{seconds} * 1000) {
    if (!bus_.get()) throw BusFault("no session bus", ENOTCONN);
    Check(sd_bus_match_signal(bus_.get(), &match_, nullptr, kPath, kInterface, "WatchFired",
                              Fired, this),
          "listening for its watches");
    Check(bus_.Call("AddIdleWatch", idle_watch_, "t", interval_), "AddIdleWatch");
    uint64_t idle = 0;
    Check(bus_.Call("GetIdletime", idle, ""), "GetIdletime");
    if (idle >= interval_) BecameIdle();
  }
  ~MutterWatch() override { sd_bus_slot_unref(match_); }

  pollfd Waiting() override {
    const int events = sd_bus_get_events(bus_.get());
    Check(events, "the connection");
    return {sd_bus_get_fd(bus_.get()), static_cast<short>(events), 0};
  }

  // A method call reads what the bus holds: the bus is processed until it has nothing left.
  std::vector<IdleChange> Changes() override {
    for (;;) {
      int result = 0;
      while ((result = sd_bus_process(bus_.get(), nullptr)) > 0) {
      }
      Check(result, "the connection");
      if (fired_.empty()) break;
      for (const uint32_t id : std::exchange(fired_, {})) {
        if (id == idle_watch_) {
          BecameIdle();
        } else if (id == active_watch_ && active_watch_) {
          active_watch_ = 0;
          changes_.push_back(IdleChange::kActive);
        }
      }
    }
    return std::exchange(changes_, {});
  }

 private:
  static int Fired(sd_bus_message* message, void* data, sd_bus_error*) {
    uint32_t id = 0;
    if (sd_bus_message_read_basic(message, 'u', &id) < 0) return 0;
    try {
      static_cast<MutterWatch*>(data)->fired_.push_back(id);
    } catch (...) {
      return -ENOMEM;
    }
    return 0;
  }

  void BecameIdle() {
    changes_.push_back(IdleChange::kIdle);
    if (!active_watch_) Check(bus_.Call("AddUserActiveWatch", active_watch_, ""), "AddUserActiveWatch");
  }

  static void Check(int result, const char* what) {
    if (result < 0) throw BusFault(what, -result);
  }

  SessionBus bus_;
  const uint64_t interval_;
  sd_bus_slot* match_ = nullptr;
  uint32_t idle_watch_ = 0;
  uint32_t active_watch_ = 0;
  std::vector<uint32_t> fired_;
  std::vector<IdleChange> changes_;
};

}  // namespace

bool MutterMonitorAnswers() {
  SessionBus bus;
  uint64_t idle = 0;
  return bus.get() && bus.Call("GetIdletime", idle, "") >= 0;
}

std::unique_ptr<IdleWatch> MutterIdleWatch(uint32_t seconds) {
  return std::make_unique<MutterWatch>(seconds);
}

}  // namespace fq::wayland
