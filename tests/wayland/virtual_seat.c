/* A pointer and a keyboard for a compositor that has no input devices, kept until killed, so
   that its seat offers them to clients; the compositor's own commands then drive them. Prints
   "ready" once both exist. The two managers' interfaces are written out here: only their
   first request is sent. */
#include <stdio.h>
#include <string.h>
#include <wayland-client.h>

static const struct wl_interface device = {"virtual_device", 1, 0, NULL, 0, NULL};
static const struct wl_interface* create_types[] = {&wl_seat_interface, &device};
static const struct wl_message create_pointer = {"create_virtual_pointer", "?on", create_types};
static const struct wl_message create_keyboard = {"create_virtual_keyboard", "on", create_types};
static const struct wl_interface pointers = {"zwlr_virtual_pointer_manager_v1", 1, 1,
                                             &create_pointer, 0, NULL};
static const struct wl_interface keyboards = {"zwp_virtual_keyboard_manager_v1", 1, 1,
                                              &create_keyboard, 0, NULL};
static struct wl_proxy *seat, *pointer_maker, *keyboard_maker;

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* kind,
                   uint32_t version) {
  (void)data, (void)version;
  if (!strcmp(kind, "wl_seat") && !seat) seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
  if (!strcmp(kind, pointers.name)) pointer_maker = wl_registry_bind(registry, name, &pointers, 1);
  if (!strcmp(kind, keyboards.name)) keyboard_maker = wl_registry_bind(registry, name, &keyboards, 1);
}

static void removed(void* data, struct wl_registry* registry, uint32_t name) {
  (void)data, (void)registry, (void)name;
}

int main(void) {
  static const struct wl_registry_listener listener = {global, removed};
  struct wl_display* display = wl_display_connect(NULL);
  if (!display) return 1;
  wl_registry_add_listener(wl_display_get_registry(display), &listener, NULL);
  wl_display_roundtrip(display);
  if (!seat || !pointer_maker || !keyboard_maker) return 1;
  wl_proxy_marshal_constructor(pointer_maker, 0, &device, seat, NULL);
  wl_proxy_marshal_constructor(keyboard_maker, 0, &device, seat, NULL);
  wl_display_roundtrip(display);
  puts("ready");
  fflush(stdout);
  while (wl_display_dispatch(display) != -1) {
  }
  return 0;
}
