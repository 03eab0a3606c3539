// A private Xvfb screen for one test, on a display number the server picks (-displayfd); it
// becomes the test's DISPLAY. Every program a test starts is ended by its pid.
#pragma once

// The core's headers first: Xlib defines None as a macro.
#include "fake/fake_platform.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <stdexcept>
#include <thread>

namespace fq::x11 {

class Process {
 public:
  explicit Process(std::vector<std::string> command) : pid_(fork()) {
    if (pid_ != 0) return;
    std::vector<char*> argv;
    for (std::string& word : command) argv.push_back(word.data());
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  ~Process() {
    if (pid_ != 0 && kill(pid_, SIGTERM) == 0) waitpid(pid_, nullptr, 0);
  }

  pid_t pid() const { return pid_; }

  // The exit code, once the program has ended within `wait`.
  std::optional<int> ExitCode(std::chrono::milliseconds wait) {
    int status = 0;
    for (auto end = std::chrono::steady_clock::now() + wait; waitpid(pid_, &status, WNOHANG) == 0;) {
      if (std::chrono::steady_clock::now() > end) return std::nullopt;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    pid_ = 0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_;
};

// Polls until `probe` holds, within a bound generous enough for a busy machine: its last answer.
template <typename Probe>
bool WaitUntil(Probe probe, std::chrono::milliseconds bound = std::chrono::seconds(30)) {
  for (const auto end = std::chrono::steady_clock::now() + bound; !probe();) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

class XvfbScreen {
 public:
  XvfbScreen(int width, int height) {
    int ready[2];
    if (pipe(ready) != 0) throw std::runtime_error("no pipe for Xvfb");
    xvfb_.emplace(std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(ready[1]), "-screen", "0",
                  std::to_string(width) + "x" + std::to_string(height) + "x24", "-nolisten", "tcp"});
    close(ready[1]);
    std::string name = ":";
    for (char digit; read(ready[0], &digit, 1) == 1 && digit != '\n';) name += digit;
    close(ready[0]);
    setenv("DISPLAY", name.c_str(), 1);
    unsetenv("XSCREENSAVER_WINDOW");  // each test says which window to draw on
    display_ = XOpenDisplay(nullptr);
    if (!display_) throw std::runtime_error("Xvfb did not start");
  }
  ~XvfbScreen() { XCloseDisplay(display_); }

  Display* display() const { return display_; }

  // A RandR monitor, named by its number: the first set is 0.
  void SetMonitor(const PixelRect& area) {
    const std::string geometry = std::to_string(area.width) + "/300x" +
                                 std::to_string(area.height) + "/200+" +
                                 std::to_string(area.left) + "+" + std::to_string(area.top);
    Xrandr({"--setmonitor", "m" + std::to_string(monitors_++), geometry, "none"});
  }
  void DeleteMonitor(int number) { Xrandr({"--delmonitor", "m" + std::to_string(number)}); }
  Window root() const { return DefaultRootWindow(display_); }

  // What the drawable holds from x, y on, in the fake's pixel format.
  fake::Pixels Read(Drawable drawable, int width, int height, int x0 = 0, int y0 = 0) const {
    XImage* image = XGetImage(display_, drawable, x0, y0, width, height, AllPlanes, ZPixmap);
    fake::Pixels pixels(width, height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) pixels.at(x, y) = XGetPixel(image, x, y) & 0xFFFFFF;
    }
    XDestroyImage(image);
    return pixels;
  }

 private:
  // This connection stays open meanwhile: the server forgets the monitors once the last
  // client has gone.
  static void Xrandr(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "xrandr");
    if (Process(arguments).ExitCode(std::chrono::seconds(30)) != 0) {
      throw std::runtime_error("xrandr " + arguments[1] + " failed");
    }
  }

  std::optional<Process> xvfb_;
  int monitors_ = 0;
  Display* display_ = nullptr;
};

}  // namespace fq::x11
