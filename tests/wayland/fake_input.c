/* Input for KWin, which gives clients a seat only while some device sends to it: lines on
   stdin are sent through its fake input, "key CODE" and "button CODE" (the kernel's codes, each
   pressed and released) and "move DX DY" (relative, in logical pixels), each answered "ok" once
   KWin has it. Prints "ready" once KWin took the request to send input. */
#include <stdio.h>
#include <string.h>
#include <wayland-client.h>

#include "fake_input_client.h"

static struct org_kde_kwin_fake_input* fake;

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* kind,
                   uint32_t version) {
  (void)data;
  if (!strcmp(kind, org_kde_kwin_fake_input_interface.name) && version >= 4)
    fake = wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4);
}

static void removed(void* data, struct wl_registry* registry, uint32_t name) {
  (void)data, (void)registry, (void)name;
}

int main(void) {
  static const struct wl_registry_listener listener = {global, removed};
  struct wl_display* display = wl_display_connect(NULL);
  if (!display) return 1;
  wl_registry_add_listener(wl_display_get_registry(display), &listener, NULL);
  if (wl_display_roundtrip(display) == -1 || !fake) return 1;
  org_kde_kwin_fake_input_authenticate(fake, "flyingquorlin tests", "the saver's dismissal");
  char line[64] = "ready";
  while (wl_display_roundtrip(display) != -1 && printf("%s\n", line) && !fflush(stdout) &&
         fgets(line, sizeof line, stdin)) {
    unsigned code;
    double dx, dy;
    if (sscanf(line, "key %u", &code) == 1) {
      org_kde_kwin_fake_input_keyboard_key(fake, code, WL_KEYBOARD_KEY_STATE_PRESSED);
      org_kde_kwin_fake_input_keyboard_key(fake, code, WL_KEYBOARD_KEY_STATE_RELEASED);
    } else if (sscanf(line, "button %u", &code) == 1) {
      org_kde_kwin_fake_input_button(fake, code, WL_POINTER_BUTTON_STATE_PRESSED);
      org_kde_kwin_fake_input_button(fake, code, WL_POINTER_BUTTON_STATE_RELEASED);
    } else if (sscanf(line, "move %lf %lf", &dx, &dy) == 2) {
      org_kde_kwin_fake_input_pointer_motion(fake, wl_fixed_from_double(dx),
                                             wl_fixed_from_double(dy));
    } else {
      return 1;
    }
    strcpy(line, "ok");
  }
  return 0;
}
