// The waiting process of --when-idle. The saver runs as a process of its own, as when a daemon
// starts it: it ends on input by ending its process, and the compositor frees what it held.
#include "when_idle.h"

#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/signalfd.h>
#include <sys/wait.h>
#include <unistd.h>
#include <wayland-client.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <memory>

#include "base/fault.h"
#include "cover_shell.h"
#include "idle_watch.h"
#include "listener_guard.h"
#include "wayland_platform.h"

namespace fq::wayland {
namespace {

Fault SystemFault(const std::string& what) {
  return Fault(FaultKind::PlatformFailure, what + ": " + std::strerror(errno));
}

// The compositor's globals, known after one round trip; later ones are added as they come.
class Session {
 public:
  Session() : display_(wl_display_connect(nullptr)) {
    if (!display_) throw MissingCompositor(kNoCompositor);
    registry_ = wl_display_get_registry(display_);
    static constexpr wl_registry_listener kListener{
        .global = Guarded<[](void* data, wl_registry*, uint32_t name, const char* interface,
                             uint32_t version) {
          static_cast<std::vector<Global>*>(data)->push_back({interface, name, version});
        }>,
        .global_remove = [](void*, wl_registry*, uint32_t) {}};
    wl_registry_add_listener(registry_, &kListener, &globals_);
    Dispatched(wl_display_roundtrip(display_));
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  ~Session() {
    wl_registry_destroy(registry_);
    wl_display_disconnect(display_);
  }

  wl_display& display() { return *display_; }
  wl_registry& registry() { return *registry_; }
  const std::vector<Global>& globals() const { return globals_; }

 private:
  wl_display* display_;
  wl_registry* registry_;
  std::vector<Global> globals_;
};

std::unique_ptr<IdleWatch> Watch(std::unique_ptr<Session>& session, uint32_t seconds) {
  const std::vector<Global>& globals = session->globals();
  if (!Find(globals, kLayerShellName) && !Find(globals, kFullscreenShellName)) {
    throw MissingCompositor(kNoCoverShell);
  }
  const IdleSource source = ChooseIdleSource(globals, MutterMonitorAnswers);
  switch (source) {
    case IdleSource::kIdleNotifier:
    case IdleSource::kKdeIdle:
      return CompositorIdleWatch(
          session->display(), session->registry(), source,
          *Find(globals, source == IdleSource::kIdleNotifier ? kIdleNotifierName : kKdeIdleName),
          *Find(globals, "wl_seat"), seconds);
    case IdleSource::kMutterMonitor:
      // A connection nobody reads would fill with events until the compositor drops it.
      session.reset();
      return MutterIdleWatch(seconds);
    case IdleSource::kNone:
      break;
  }
  throw MissingCompositor(kNoIdleSource);
}

// This program again, as the saver; it ends with the waiting process.
pid_t StartSaver(const std::vector<std::string>& arguments) {
  std::vector<char*> argv{const_cast<char*>("flyingquorlin-wayland")};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const pid_t waiter = getpid();
  const pid_t saver = fork();
  if (saver < 0) throw SystemFault("The saver cannot start");
  if (saver == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != waiter) _exit(EXIT_SUCCESS);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    execv("/proc/self/exe", argv.data());
    const std::string why = std::string("flyingquorlin-wayland: the saver cannot start: ") +
                            std::strerror(errno) + "\n";
    (void)!write(STDERR_FILENO, why.data(), why.size());
    _exit(kFaultExitCode);
  }
  return saver;
}

}  // namespace

int RunWhenIdle(uint32_t seconds, const std::vector<std::string>& saver_arguments) {
  std::unique_ptr<Session> session = std::make_unique<Session>();
  const std::unique_ptr<IdleWatch> watch = Watch(session, seconds);
  sigset_t handled;
  sigemptyset(&handled);
  sigaddset(&handled, SIGTERM);
  sigaddset(&handled, SIGCHLD);
  if (sigprocmask(SIG_BLOCK, &handled, nullptr) < 0) throw SystemFault("Signals");
  const int signals = signalfd(-1, &handled, SFD_CLOEXEC);
  if (signals < 0) throw SystemFault("Signals");
  pid_t saver = 0;
  for (;;) {
    for (const IdleChange change : watch->Changes()) {
      if (change == IdleChange::kIdle && !saver) {
        saver = StartSaver(saver_arguments);
      } else if (change == IdleChange::kActive && saver) {
        // A saver that ended already is reaped below: the pid is still its own.
        kill(saver, SIGTERM);
      }
    }
    std::array<pollfd, 2> waiting{watch->Waiting(), pollfd{signals, POLLIN, 0}};
    if (poll(waiting.data(), waiting.size(), -1) < 0) {
      if (errno == EINTR) continue;
      throw SystemFault("Waiting");
    }
    if (!(waiting[1].revents & POLLIN)) continue;
    signalfd_siginfo signal{};
    if (read(signals, &signal, sizeof signal) != sizeof signal) throw SystemFault("Signals");
    if (signal.ssi_signo == SIGTERM) {
      if (saver) {
        kill(saver, SIGTERM);
        waitpid(saver, nullptr, 0);
      }
      return EXIT_SUCCESS;
    }
    if (saver && waitpid(saver, nullptr, WNOHANG) == saver) saver = 0;
  }
}

}  // namespace fq::wayland
