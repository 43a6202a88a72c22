// x_target window X Y W H LOG | x_target compositor
// The scenarios' plain X program. "window": a window of its own that writes
// each input it takes to LOG, one line each, flushed at once:
//   ready | press X Y TIME | release X Y TIME | motion X Y TIME | key CODE TIME
// (window coordinates, the server's time in ms). "compositor": exits 0 when a
// compositing manager owns _NET_WM_CM_S0, else 1.
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int CompositorOwned(xcb_connection_t* c, int screen) {
  char name[32];
  snprintf(name, sizeof name, "_NET_WM_CM_S%d", screen);
  xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(strlen(name)), name), nullptr);
  if (atom == nullptr) return 1;
  xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom->atom), nullptr);
  int owned = owner != nullptr && owner->owner != XCB_NONE;
  free(owner);
  free(atom);
  return owned ? 0 : 1;
}

int RunWindow(xcb_connection_t* c, xcb_screen_t* screen, char** argv) {
  FILE* log = fopen(argv[6], "w");
  if (log == nullptr) return 2;
  xcb_window_t window = xcb_generate_id(c);
  uint32_t values[] = {screen->white_pixel,
                       XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_BUTTON_PRESS |
                           XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION | XCB_EVENT_MASK_KEY_PRESS};
  xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, static_cast<int16_t>(atoi(argv[2])),
                    static_cast<int16_t>(atoi(argv[3])), static_cast<uint16_t>(atoi(argv[4])),
                    static_cast<uint16_t>(atoi(argv[5])), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                    XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
  const char title[] = "x_target";
  xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, sizeof title - 1, title);
  xcb_map_window(c, window);
  xcb_flush(c);
  bool ready = false;
  while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
    switch (event->response_type & 0x7f) {
      case XCB_EXPOSE:
        if (!ready) {
          // Without a window manager nobody gives the focus: take it, so keys come here.
          xcb_set_input_focus(c, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
          xcb_flush(c);
          fprintf(log, "ready\n");
          ready = true;
        }
        break;
      case XCB_BUTTON_PRESS:
      case XCB_BUTTON_RELEASE: {
        auto* b = reinterpret_cast<xcb_button_press_event_t*>(event);
        fprintf(log, "%s %d %d %u %u\n", (event->response_type & 0x7f) == XCB_BUTTON_PRESS ? "press" : "release",
                b->event_x, b->event_y, b->time, b->detail);
        break;
      }
      case XCB_MOTION_NOTIFY: {
        auto* m = reinterpret_cast<xcb_motion_notify_event_t*>(event);
        fprintf(log, "motion %d %d %u\n", m->event_x, m->event_y, m->time);
        break;
      }
      case XCB_KEY_PRESS: {
        auto* k = reinterpret_cast<xcb_key_press_event_t*>(event);
        fprintf(log, "key %u %u\n", k->detail, k->time);
        break;
      }
    }
    fflush(log);
    free(event);
  }
  fclose(log);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int screenNumber = 0;
  xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
  if (xcb_connection_has_error(c)) return 2;
  xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
  for (int i = 0; i < screenNumber; ++i) xcb_screen_next(&it);
  int result = 2;
  if (argc == 2 && strcmp(argv[1], "compositor") == 0) result = CompositorOwned(c, screenNumber);
  if (argc == 7 && strcmp(argv[1], "window") == 0) result = RunWindow(c, it.data, argv);
  xcb_disconnect(c);
  return result;
}
