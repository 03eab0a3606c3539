/* A compositor stand-in that fails in the one way its argument names, to see the client end
   with a message rather than spin or unwind through libwayland:
     break    once the first output's buffer is made (the client is still starting: the second
              output is never configured), queues pointer events, then posts a protocol error
     pointer  once a frame is shown, the pointer enters at an x beyond 16 bits
     huge     configures the first output's surface at 50000 by 50000
     bare     offers no shell to cover with
   It offers a compositor, shared memory, the layer shell (but when bare), a seat with a pointer
   and two outputs at scale 1, and no source of idleness, and accepts every request: one
   dispatcher makes the objects requests create and destroys those that requests end. Listens on $WAYLAND_DISPLAY in $XDG_RUNTIME_DIR and prints
   "ready"; runs until killed. */
#include <stdio.h>
#include <string.h>
#include <unistd.h>
#include <wayland-server.h>

extern const struct wl_interface zwlr_layer_shell_v1_interface;

static struct wl_display* display;
static const char* failure;
static struct wl_resource *pointer, *first_output, *first_surface, *first_layer;
static int configured, attached, failed;

static int dispatch(const void* implementation, void* target, uint32_t opcode,
                    const struct wl_message* request, union wl_argument* arguments);

static struct wl_resource* made(struct wl_client* client, const struct wl_interface* interface,
                                uint32_t version, uint32_t id) {
  struct wl_resource* resource = wl_resource_create(client, interface, (int)version, id);
  wl_resource_set_dispatcher(resource, dispatch, NULL, NULL, NULL);
  return resource;
}

static int dispatch(const void* implementation, void* target, uint32_t opcode,
                    const struct wl_message* request, union wl_argument* arguments) {
  (void)implementation, (void)opcode;
  struct wl_resource* resource = target;
  struct wl_resource* created = NULL;
  int i = 0;
  for (const char* type = request->signature; *type; ++type) {
    if (*type == '?' || (*type >= '0' && *type <= '9')) continue;
    if (*type == 'n') {
      created = made(wl_resource_get_client(resource), request->types[i],
                     (uint32_t)wl_resource_get_version(resource), arguments[i].n);
    }
    if (*type == 'h') close(arguments[i].h);
    ++i;
  }
  const char* name = request->name;
  if (!strcmp(name, "destroy") || !strcmp(name, "release")) {
    wl_resource_destroy(resource);
  } else if (!strcmp(name, "get_pointer")) {
    pointer = created;
  } else if (!strcmp(name, "get_layer_surface") && arguments[2].o &&
             (struct wl_resource*)arguments[2].o == first_output) {
    first_surface = (struct wl_resource*)arguments[1].o;
    first_layer = created;
  } else if (!strcmp(name, "attach") && resource == first_surface) {
    attached = arguments[0].o != NULL;
  } else if (!strcmp(name, "commit") && resource == first_surface && !configured) {
    const uint32_t size = strcmp(failure, "huge") ? 640 : 50000;
    wl_resource_post_event(first_layer, 0, wl_display_next_serial(display), size, size * 3 / 4);
    configured = 1;
  } else if (!strcmp(name, "commit") && resource == first_surface && attached &&
             !strcmp(failure, "pointer") && !failed) {
    wl_pointer_send_enter(pointer, wl_display_next_serial(display), resource,
                          wl_fixed_from_int(40000), wl_fixed_from_int(10));
    failed = 1;
  } else if (!strcmp(name, "create_buffer") && !strcmp(failure, "break") && pointer) {
    wl_pointer_send_enter(pointer, wl_display_next_serial(display), first_surface,
                          wl_fixed_from_int(10), wl_fixed_from_int(10));
    wl_pointer_send_motion(pointer, 1, wl_fixed_from_int(12), wl_fixed_from_int(10));
    wl_resource_post_error(first_layer, 0, "the stand-in breaks the connection");
  }
  return 0;
}

static void bind(struct wl_client* client, void* data, uint32_t version, uint32_t id) {
  const struct wl_interface* interface = data;
  struct wl_resource* resource = made(client, interface, version, id);
  if (interface == &wl_seat_interface) {
    wl_seat_send_capabilities(resource, WL_SEAT_CAPABILITY_POINTER);
  } else if (interface == &wl_output_interface) {
    if (!first_output) first_output = resource;
    wl_output_send_scale(resource, 1);
    wl_output_send_done(resource);
  }
}

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  failure = argv[1];
  display = wl_display_create();
  if (!display || wl_display_add_socket(display, NULL)) return 1;
  const struct wl_interface* offered[] = {&wl_compositor_interface, &wl_shm_interface,
                                          &zwlr_layer_shell_v1_interface, &wl_seat_interface,
                                          &wl_output_interface, &wl_output_interface};
  const int versions[] = {4, 1, 1, 1, 2, 2};
  for (size_t k = 0; k < sizeof offered / sizeof *offered; ++k) {
    if (offered[k] == &zwlr_layer_shell_v1_interface && !strcmp(failure, "bare")) continue;
    wl_global_create(display, offered[k], versions[k], (void*)offered[k], bind);
  }
  puts("ready");
  fflush(stdout);
  wl_display_run(display);
  return 0;
}
