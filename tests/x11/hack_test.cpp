// The hack as XScreenSaver and a user run it, each case on a private Xvfb screen: sprites show
// and move; a window it is given (or the root) is painted all over and only its end stops the
// hack; its own window ends on a key, a click, a pointer jump or its closing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "xvfb_screen.h"

namespace fq::x11 {
namespace {

using namespace std::chrono_literals;
using Command = std::vector<std::string>;

// A colour the sheet does not hold: wherever it is left, the hack did not paint.
constexpr uint32_t kUnpainted = 0x123456;

bool ShowsSprites(const fake::Pixels& pixels) {
  return std::any_of(pixels.data.begin(), pixels.data.end(),
                     [](uint32_t p) { return p != 0 && p != kUnpainted; });
}

fake::Pixels Look(const XvfbScreen& screen, Drawable drawable, const PixelRect& area) {
  return screen.Read(drawable, area.width, area.height, area.left, area.top);
}

// Waits for sprites in the drawable's area, then for them to move: the look that showed it.
fake::Pixels SpritesMove(const XvfbScreen& screen, Drawable drawable, const PixelRect& area) {
  fake::Pixels first, later;
  EXPECT_TRUE(WaitUntil([&] { return ShowsSprites(first = Look(screen, drawable, area)); }))
      << "no sprite showed";
  EXPECT_TRUE(WaitUntil([&] { return (later = Look(screen, drawable, area)).data != first.data; }))
      << "the sprites did not move";
  return later;
}

// The root window of a 1920 by 1080 screen, and a window another program made, given by
// --window-id (XSCREENSAVER_WINDOW gives the same options: HackOptions); once that window is
// gone, a hack started on it ends with the fault's exit code.
TEST(Hack, PaintsAllOfTheWindowItIsGivenAndOnlyItsEndStopsIt) {
  for (const std::string how : {"--root", "--window-id"}) {
    const bool root = how == "--root";
    XvfbScreen screen(root ? 1920 : 640, root ? 1080 : 480);
    const int width = root ? 1920 : 480, height = root ? 1080 : 320;
    const Window window = root ? screen.root()
                               : XCreateSimpleWindow(screen.display(), screen.root(), 50, 40,
                                                     width, height, 0, 0, 0);
    XSetWindowBackground(screen.display(), window, kUnpainted);
    XMapWindow(screen.display(), window);
    XClearWindow(screen.display(), window);
    XSync(screen.display(), False);
    const Command command =
        root ? Command{FQ_HACK, how} : Command{FQ_HACK, how, std::to_string(window)};
    Process hack(command);
    const fake::Pixels shown = SpritesMove(screen, window, {0, 0, width, height});
    EXPECT_EQ(std::count(shown.data.begin(), shown.data.end(), kUnpainted), 0) << how;
    ASSERT_EQ(Process({"xdotool", "key", "a", "click", "1"}).ExitCode(30s), 0);
    EXPECT_EQ(hack.ExitCode(300ms), std::nullopt) << how << ": input is the daemon's business";
    if (root) continue;
    XDestroyWindow(screen.display(), window);
    XSync(screen.display(), False);
    EXPECT_EQ(hack.ExitCode(30s), 0) << how;
    EXPECT_EQ(Process(command).ExitCode(30s), 3) << how << ": a window that is gone is a fault";
  }
}

// The root window of a screen that RandR splits, and the own window over it: the primary, a
// monitor beside it and one below at k = 2 each show a flock of their own, painted all over; a
// monitor set while the hack runs shows one, and one deleted is dropped (its
// picture stays as it was).
TEST(Hack, OverTheWholeScreenEveryMonitorShowsAFlockOfItsOwn) {
  const PixelRect monitors[] = {{0, 0, 1920, 1080}, {1920, 0, 1280, 720}, {0, 1080, 2600, 400}};
  const PixelRect added{1920, 720, 600, 360};
  for (const std::string how : {"--root", "--window"}) {
    SCOPED_TRACE(how);
    XvfbScreen screen(3200, 1480);
    for (const PixelRect& area : monitors) screen.SetMonitor(area);
    XSetWindowBackground(screen.display(), screen.root(), kUnpainted);
    XClearWindow(screen.display(), screen.root());
    XSync(screen.display(), False);
    Process hack({FQ_HACK, how});
    for (const PixelRect& area : monitors) {
      const fake::Pixels shown = SpritesMove(screen, screen.root(), area);
      EXPECT_EQ(std::count(shown.data.begin(), shown.data.end(), kUnpainted), 0);
    }
    screen.SetMonitor(added);
    SpritesMove(screen, screen.root(), added);
    screen.DeleteMonitor(1);
    for (int frame = 0; frame < 2; ++frame) SpritesMove(screen, screen.root(), added);  // read it
    const fake::Pixels left = Look(screen, screen.root(), monitors[1]);
    SpritesMove(screen, screen.root(), added);
    EXPECT_EQ(fake::Difference(Look(screen, screen.root(), monitors[1]), left), "")
        << "drawn on after it went";
    EXPECT_EQ(hack.ExitCode(0ms), std::nullopt);
  }
}

// What a window manager sends when the user closes a window: WM_DELETE_WINDOW.
void AskToClose(const XvfbScreen& screen, const std::string& title) {
  Display* display = screen.display();
  Window root = None, parent = None, *children = nullptr;
  unsigned count = 0;
  XQueryTree(display, screen.root(), &root, &parent, &children, &count);
  for (unsigned i = 0; i < count; ++i) {
    char* name = nullptr;
    if (XFetchName(display, children[i], &name) && title == name) {
      XEvent close{};
      close.xclient.type = ClientMessage;
      close.xclient.window = children[i];
      close.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
      close.xclient.format = 32;
      close.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
      close.xclient.data.l[1] = CurrentTime;
      XSendEvent(display, children[i], False, NoEventMask, &close);
    }
    XFree(name);
  }
  XFree(children);
  XSync(display, False);
}

TEST(Hack, InItsOwnWindowEndsOnAKeyAClickAPointerJumpOrItsClosing) {
  const struct {
    Command xdotool;  // none: the window manager's close
    bool ends;
  } cases[] = {
      {{"xdotool", "key", "a"}, true},
      {{"xdotool", "click", "1"}, true},
      {{"xdotool", "click", "4"}, false},  // the wheel
      // Another client moves the window under the pointer: moves count on the screen, where
      // a nudge is not a jump.
      {{"xdotool", "mousemove", "100", "100", "sleep", "0.2", "search", "--name", "Animation Code",
        "windowmove", "50", "50", "sleep", "0.2", "mousemove", "103", "102"}, false},
      {{"xdotool", "mousemove", "100", "100", "sleep", "0.2", "search", "--name", "Animation Code",
        "windowmove", "50", "50", "sleep", "0.2", "mousemove", "300", "300"}, true},
      {{"xdotool", "search", "--name", "Animation Code", "windowclose"}, true},
      {{}, true},
  };
  for (const auto& c : cases) {
    XvfbScreen screen(640, 480);
    Process hack({FQ_HACK, "--window"});
    SpritesMove(screen, screen.root(), {0, 0, 640, 480});
    const std::string what = c.xdotool.empty() ? "WM_DELETE_WINDOW"
                                               : c.xdotool[1] + " " + c.xdotool.back();
    if (c.xdotool.empty()) {
      AskToClose(screen, "Animation Code");
    } else {
      ASSERT_EQ(Process(c.xdotool).ExitCode(30s), 0) << what;
    }
    EXPECT_EQ(hack.ExitCode(c.ends ? 30s : 300ms), c.ends ? std::optional(0) : std::nullopt)
        << what;
  }
}

// XScreenSaver resizes the window it gave when the screen changes: the hack paints all of it
// again and its sprites fly over the new size.
TEST(Hack, FollowsAResizeOfTheWindowItIsGiven) {
  XvfbScreen screen(800, 600);
  const Window window =
      XCreateSimpleWindow(screen.display(), screen.root(), 0, 0, 200, 150, 0, 0, kUnpainted);
  XMapWindow(screen.display(), window);
  XSync(screen.display(), False);
  Process hack({FQ_HACK, "--window-id", std::to_string(window), "--count", "30"});
  SpritesMove(screen, window, {0, 0, 200, 150});
  XResizeWindow(screen.display(), window, 640, 480);
  XSync(screen.display(), False);
  fake::Pixels shown;
  EXPECT_TRUE(WaitUntil([&] {
    shown = screen.Read(window, 640, 480);
    for (int y = 0; y < 480; ++y) {
      for (int x = y < 150 ? 200 : 0; x < 640; ++x) {
        if (shown.at(x, y) != 0 && shown.at(x, y) != kUnpainted) return true;
      }
    }
    return false;
  })) << "no sprite in the part the window gained";
  EXPECT_EQ(std::count(shown.data.begin(), shown.data.end(), kUnpainted), 0);
}

// The README's line for X11 sessions without XScreenSaver: xss-lock runs the hack when the X
// server's own idle timer fires, and the hack ends on a key. Without logind, xss-lock aborts
// once it has started the hack: a stand-in serves on a system bus of the test's own.
TEST(Hack, StartedByTheServersIdleTimerThroughXssLock) {
#ifndef FQ_LOGIND_STAND_IN
  GTEST_SKIP() << "built without libsystemd, which the stand-in for logind needs";
#else
  if (system("command -v xss-lock >/dev/null") != 0) GTEST_SKIP() << "xss-lock is missing";
  XvfbScreen screen(640, 480);
  char folder[] = "/tmp/fq-logind-XXXXXX";
  ASSERT_TRUE(mkdtemp(folder));
  const std::string socket = std::string(folder) + "/bus", address = "unix:path=" + socket;
  Process bus({"dbus-daemon", "--session", "--nofork", "--nosyslog", "--address=" + address});
  WaitUntil([&] { return std::filesystem::exists(socket); });
  setenv("DBUS_SYSTEM_BUS_ADDRESS", address.c_str(), 1);
  Process logind({FQ_LOGIND_STAND_IN});
  ASSERT_EQ(Process({"gdbus", "wait", "--system", "--timeout", "60", "org.freedesktop.login1"})
                .ExitCode(70s), 0) << "no stand-in for logind";
  ASSERT_EQ(Process({"xset", "s", "1", "0"}).ExitCode(30s), 0);
  Process lock({"xss-lock", "--", FQ_HACK, "--window"});
  SpritesMove(screen, screen.root(), {0, 0, 640, 480});
  const auto children = [&] {
    std::ifstream list("/proc/" + std::to_string(lock.pid()) + "/task/" +
                       std::to_string(lock.pid()) + "/children");
    return std::string(std::istreambuf_iterator<char>(list), {});
  };
  EXPECT_NE(children(), "") << "the hack is not xss-lock's";
  ASSERT_EQ(Process({"xdotool", "key", "a"}).ExitCode(30s), 0);
  WaitUntil([&] { return children().empty(); });
  EXPECT_EQ(children(), "") << "the hack outlived a key";
  EXPECT_EQ(lock.ExitCode(0ms), std::nullopt) << "xss-lock ended";
  unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
  std::filesystem::remove_all(folder);
#endif
}

// Refused before the display is opened: a window id cut to 32 bits would draw elsewhere.
TEST(Hack, ARefusedOptionExitsWithCode2) {
  for (const Command& command : {Command{FQ_HACK, "--count", "31"},
                                 Command{FQ_HACK, "--window-id", "4294967296"}}) {
    EXPECT_EQ(Process(command).ExitCode(30s), 2) << command.back();
  }
}

}  // namespace
}  // namespace fq::x11
