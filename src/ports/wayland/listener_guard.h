// libwayland calls the port's listeners from C frames, which no exception may cross. Every
// listener that does anything runs through Guarded: what it throws is kept and the listeners
// after it are skipped; the port's call into libwayland throws it again once libwayland has
// returned (Dispatched).
#pragma once

#include <exception>
#include <utility>

#include "base/fault.h"

struct wl_display;

namespace fq::wayland {

// The exception a listener threw, not yet thrown again; a thread dispatches one connection.
inline thread_local std::exception_ptr listener_fault;

template <auto listener, typename... Arguments>
void Guarded(Arguments... arguments) noexcept {
  if (listener_fault) return;
  try {
    listener(arguments...);
  } catch (...) {
    listener_fault = std::current_exception();
  }
}

// The result of a libwayland call that dispatched events, once what a listener threw during it
// is thrown again, and a failure (the connection's end or its error) is thrown as a fault.
inline int Dispatched(int result) {
  if (listener_fault) std::rethrow_exception(std::exchange(listener_fault, nullptr));
  if (result < 0) {
    throw Fault(FaultKind::PlatformFailure, "The connection to the compositor broke.");
  }
  return result;
}

// Handles the events that have come, reading those the socket holds without waiting for more
// (pacing.cpp).
void DispatchReady(wl_display& display);

}  // namespace fq::wayland
