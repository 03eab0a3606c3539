#include "hack_options.h"

#include <cstdlib>
#include <sstream>

namespace fq::x11 {
namespace {

// Decimal, or hexadecimal after 0x; nothing but digits, and never 0 (no window has it). A
// leading 0 is still decimal, as the usage says, not C's octal. An id is 32 bits on the wire:
// a longer one would be cut to another window's, or refused by the server with an error that
// is not the hack's. Too many digits read as the largest number.
unsigned long ReadWindowId(std::string_view text, std::string_view what) {
  const std::string digits(text);
  char* end = nullptr;
  const bool digit_first = !digits.empty() && digits[0] >= '0' && digits[0] <= '9';
  const int base = text.starts_with("0x") || text.starts_with("0X") ? 16 : 10;
  const unsigned long long id = digit_first ? std::strtoull(digits.c_str(), &end, base) : 0;
  if (id == 0 || id > 0xFFFF'FFFFu || *end != '\0') {
    throw OptionError(std::string(what) + " \"" + digits + "\" is not a window id.");
  }
  return id;
}

}  // namespace

HackOptions ReadHackOptions(std::span<const std::string_view> arguments,
                            std::string_view xscreensaver_window) {
  HackOptions options;
  bool placed = false;
  ReadSaverOptions(arguments, options, [&](std::string_view option, const OptionValue& value) {
    if (option == "--root") {
      options.target = Target::RootWindow;
    } else if (option == "--window") {
      options.target = Target::OwnWindow;
    } else if (option == "--window-id") {
      options.target = Target::GivenWindow;
      options.window_id = ReadWindowId(value(), "--window-id");
    } else {
      return false;
    }
    placed = true;
    return true;
  });
  if (!xscreensaver_window.empty() && (!placed || options.target == Target::RootWindow)) {
    options.target = Target::GivenWindow;
    options.window_id = ReadWindowId(xscreensaver_window, "XSCREENSAVER_WINDOW");
  }
  return options;
}

std::string HackUsage() {
  std::ostringstream usage;
  usage << "Usage: flyingquorlin [--root | --window | --window-id ID] [--speed MS] [--count N]\n"
        << "                     [--scale K]\n"
        << "  --root          draw on the root window, or on $XSCREENSAVER_WINDOW when it is set\n"
        << "  --window        open a window of its own, which a key, a click or a pointer jump\n"
        << "                  ends (the default unless $XSCREENSAVER_WINDOW is set)\n"
        << "  --window-id ID  draw on that window (decimal, or hexadecimal after 0x)\n"
        << SaverOptionsUsage("2 on\n                  a monitor or window wider than 2560 or "
                             "taller than 1600 pixels,\n                  else 1");
  return usage.str();
}

}  // namespace fq::x11
