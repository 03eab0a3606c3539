/* A stand-in for systemd-logind on the system bus that $DBUS_SYSTEM_BUS_ADDRESS names, for
   xss-lock on a bare X server: without logind, xss-lock starts its locker and then aborts on
   an assertion. It answers what xss-lock asks (the session of a process, a sleep inhibitor,
   the session's locked hint) and never sends Lock, Unlock or PrepareForSleep. Runs until
   killed. */
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#define SESSION "/org/freedesktop/login1/session/fq"

static int answer(sd_bus_message* call, void* data, sd_bus_error* error) {
  (void)data, (void)error;
  const char* method = sd_bus_message_get_member(call);
  if (strcmp(method, "Inhibit")) {
    return strcmp(method, "SetLockedHint") ? sd_bus_reply_method_return(call, "o", SESSION)
                                           : sd_bus_reply_method_return(call, "");
  }
  const int fd = open("/dev/null", O_RDONLY);
  const int r = sd_bus_reply_method_return(call, "h", fd);
  close(fd);
  return r;
}

int main(void) {
  static const sd_bus_vtable manager[] = {
      SD_BUS_VTABLE_START(0),
      SD_BUS_METHOD("GetSession", "s", "o", answer, 0),
      SD_BUS_METHOD("GetSessionByPID", "u", "o", answer, 0),
      SD_BUS_METHOD("Inhibit", "ssss", "h", answer, 0),
      SD_BUS_SIGNAL("PrepareForSleep", "b", 0),
      SD_BUS_VTABLE_END};
  static const sd_bus_vtable of_session[] = {
      SD_BUS_VTABLE_START(0),
      SD_BUS_METHOD("SetLockedHint", "b", "", answer, 0),
      SD_BUS_SIGNAL("Lock", "", 0),
      SD_BUS_SIGNAL("Unlock", "", 0),
      SD_BUS_VTABLE_END};
  sd_bus* bus = NULL;
  int r = sd_bus_open_system(&bus);
  if (r >= 0) r = sd_bus_add_object_vtable(bus, NULL, "/org/freedesktop/login1",
                                           "org.freedesktop.login1.Manager", manager, NULL);
  if (r >= 0) r = sd_bus_add_object_vtable(bus, NULL, SESSION, "org.freedesktop.login1.Session",
                                           of_session, NULL);
  if (r >= 0) r = sd_bus_request_name(bus, "org.freedesktop.login1", 0);
  while (r >= 0) r = sd_bus_process(bus, NULL) > 0 ? 0 : sd_bus_wait(bus, UINT64_MAX);
  fprintf(stderr, "logind_stand_in: %s\n", strerror(-r));
  return 1;
}
