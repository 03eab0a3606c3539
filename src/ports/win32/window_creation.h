// How a window of the program gets its state: handed over while this thread creates it, and
// at no other time. The messages that carry it at creation (WM_NCCREATE's CREATESTRUCT,
// WM_INITDIALOG's lParam) can also come from another program, posted or sent at any time with
// a pointer of its choosing, so a window procedure takes its state from here, never from them.
#pragma once

#include <windows.h>

#include <utility>

namespace fq::win32 {

template <typename State>
class WindowCreation {
 public:
  // Runs `create`, which makes one window, with `state` on offer to it until it returns.
  template <typename Create>
  static HWND Offer(State* state, Create&& create) {
    offered_ = state;
    struct Withdraw {
      ~Withdraw() { offered_ = nullptr; }
    } withdraw;
    return create();
  }

  // For the window's creation message, while it has no state yet: the state on offer, once;
  // null when no window is being made.
  static State* Take() { return std::exchange(offered_, nullptr); }

 private:
  static inline State* offered_ = nullptr;
};

}  // namespace fq::win32
