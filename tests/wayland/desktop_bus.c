/* What the end-to-end tests ask of a desktop on the session bus, through sd-bus:
     shot OUTPUT  KWin's picture of that output (org.kde.KWin.ScreenShot2) on stdout, as KWin
                  writes it: 32 bits a pixel, B G R A in memory
     input        a remote desktop session of Mutter (org.gnome.Mutter.RemoteDesktop), alive
                  while this runs: prints "ready", then sends each line of stdin as input,
                  "key CODE" and "button CODE" (the kernel's codes, each pressed and released)
                  and "move DX DY" (relative), each answered "ok" once Mutter took it */
#include <errno.h>
#include <stdio.h>
#include <string.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

static sd_bus* bus;
static sd_bus_error error;  /* zeroed: SD_BUS_ERROR_NULL */

static int failed(const char* what, int r) {
  fprintf(stderr, "%s: %s\n", what, error.message ? error.message : strerror(-r));
  return 1;
}

/* KWin writes the picture into the pipe once it has answered. */
static int shot(const char* output) {
  int ends[2];
  if (pipe(ends)) return failed("pipe", -errno);
  int r = sd_bus_call_method(bus, "org.kde.KWin", "/org/kde/KWin/ScreenShot2",
                             "org.kde.KWin.ScreenShot2", "CaptureScreen", &error, NULL,
                             "sa{sv}h", output, 1, "native-resolution", "b", 1, ends[1]);
  close(ends[1]);
  if (r < 0) return failed("CaptureScreen", r);
  char chunk[65536];
  for (ssize_t n; (n = read(ends[0], chunk, sizeof chunk)) > 0;) fwrite(chunk, 1, (size_t)n, stdout);
  return 0;
}

#define SESSION_CALL(method, ...)                                                          \
  sd_bus_call_method(bus, "org.gnome.Mutter.RemoteDesktop", session,                      \
                     "org.gnome.Mutter.RemoteDesktop.Session", method, &error, NULL, __VA_ARGS__)

static int input(void) {
  sd_bus_message* reply = NULL;
  const char* made;
  int r = sd_bus_call_method(bus, "org.gnome.Mutter.RemoteDesktop", "/org/gnome/Mutter/RemoteDesktop",
                             "org.gnome.Mutter.RemoteDesktop", "CreateSession", &error, &reply, "");
  if (r < 0 || sd_bus_message_read(reply, "o", &made) < 0) return failed("CreateSession", r);
  char session[256], line[64] = "ready";
  snprintf(session, sizeof session, "%s", made);
  if ((r = SESSION_CALL("Start", "")) < 0) return failed("Start", r);
  while (printf("%s\n", line) && !fflush(stdout) && fgets(line, sizeof line, stdin)) {
    unsigned code;
    double dx, dy;
    const char* method = sscanf(line, "key %u", &code) == 1      ? "NotifyKeyboardKeycode"
                         : sscanf(line, "button %u", &code) == 1 ? "NotifyPointerButton"
                                                                 : NULL;
    const char* types = method && !strcmp(method, "NotifyPointerButton") ? "ib" : "ub";
    r = -EINVAL;  /* pressed, then released */
    if (method && (r = SESSION_CALL(method, types, code, 1)) >= 0)
      r = SESSION_CALL(method, types, code, 0);
    if (sscanf(line, "move %lf %lf", &dx, &dy) == 2)
      r = SESSION_CALL("NotifyPointerMotionRelative", "dd", dx, dy);
    if (r < 0) return failed(line, r);
    strcpy(line, "ok");
  }
  return 0;
}

int main(int argc, char** argv) {
  int r = sd_bus_open_user(&bus);
  if (r < 0) return failed("the session bus", r);
  if (argc == 3 && !strcmp(argv[1], "shot")) return shot(argv[2]);
  if (argc == 2 && !strcmp(argv[1], "input")) return input();
  fputs("usage: desktop_bus shot OUTPUT | desktop_bus input\n", stderr);
  return 2;
}
