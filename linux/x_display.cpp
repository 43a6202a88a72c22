#include "linux/x_display.h"

#include <xcb/shape.h>

#include <cstdlib>

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QSocketNotifier>

XDisplay::~XDisplay() {
  delete notifier_;
  if (connection_ != nullptr) xcb_disconnect(connection_);
}

bool XDisplay::Open(const char* name) {
  int screenNumber = 0;
  connection_ = xcb_connect(name, &screenNumber);
  if (xcb_connection_has_error(connection_)) return false;
  xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection_));
  for (int i = 0; i < screenNumber && screens.rem > 0; ++i) xcb_screen_next(&screens);
  if (screens.rem == 0) return false;
  const xcb_screen_t* screen = screens.data;
  root_ = screen->root;
  screenWidth_ = screen->width_in_pixels;
  screenHeight_ = screen->height_in_pixels;
  if (!FindArgbVisual(screen)) return false;

  colormap_ = xcb_generate_id(connection_);
  xcb_create_colormap(connection_, XCB_COLORMAP_ALLOC_NONE, colormap_, root_, argbVisual_);
  const xcb_query_extension_reply_t* shape = xcb_get_extension_data(connection_, &xcb_shape_id);
  hasShape_ = shape != nullptr && shape->present;
  compositing_ = AskCompositing();
  maxRequestBytes_ = xcb_get_maximum_request_length(connection_) * 4;

  notifier_ = new QSocketNotifier(xcb_get_file_descriptor(connection_), QSocketNotifier::Read);
  connect(notifier_, &QSocketNotifier::activated, this, [this] { Dispatch(true); });
  // Before the loop sleeps: events a reply read along with it wait in XCB's
  // queue, and the socket will not wake the loop for them.
  connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
          [this] { Dispatch(false); });
  return true;
}

bool XDisplay::FindArgbVisual(const xcb_screen_t* screen) {
  for (xcb_depth_iterator_t depths = xcb_screen_allowed_depths_iterator(screen); depths.rem > 0;
       xcb_depth_next(&depths)) {
    if (depths.data->depth != 32) continue;
    for (xcb_visualtype_iterator_t visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem > 0;
         xcb_visualtype_next(&visuals)) {
      if (visuals.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR) {
        argbVisual_ = visuals.data->visual_id;
        return true;
      }
    }
  }
  return false;
}

bool XDisplay::AskCompositing() {
  static const char kOwner[] = "_NET_WM_CM_S0";
  xcb_intern_atom_reply_t* atom =
      xcb_intern_atom_reply(connection_, xcb_intern_atom(connection_, 0, sizeof kOwner - 1, kOwner), nullptr);
  if (atom == nullptr) return false;
  xcb_get_selection_owner_reply_t* owner =
      xcb_get_selection_owner_reply(connection_, xcb_get_selection_owner(connection_, atom->atom), nullptr);
  bool owned = owner != nullptr && owner->owner != XCB_NONE;
  free(owner);
  free(atom);
  return owned;
}

xcb_gcontext_t XDisplay::Gc32() {
  if (gc32_ != 0) return gc32_;
  // A context serves drawables of the depth it was made on.
  xcb_pixmap_t probe = xcb_generate_id(connection_);
  xcb_create_pixmap(connection_, 32, probe, root_, 1, 1);
  gc32_ = xcb_generate_id(connection_);
  xcb_create_gc(connection_, gc32_, probe, 0, nullptr);
  xcb_free_pixmap(connection_, probe);
  return gc32_;
}

void XDisplay::Dispatch(bool readSocket) {
  for (;;) {
    xcb_generic_event_t* event =
        readSocket ? xcb_poll_for_event(connection_) : xcb_poll_for_queued_event(connection_);
    if (event == nullptr) break;
    uint8_t type = event->response_type & 0x7f;
    xcb_window_t window = 0;
    if (type == XCB_BUTTON_PRESS || type == XCB_BUTTON_RELEASE || type == XCB_MOTION_NOTIFY) {
      // The three share their layout up to the event window.
      window = reinterpret_cast<xcb_button_press_event_t*>(event)->event;
    }
    XWindowListener* listener = window != 0 ? listeners_.value(window, nullptr) : nullptr;
    if (listener != nullptr) {
      if (type == XCB_BUTTON_PRESS) {
        listener->OnButtonPress(*reinterpret_cast<xcb_button_press_event_t*>(event));
      } else if (type == XCB_BUTTON_RELEASE) {
        listener->OnButtonRelease(*reinterpret_cast<xcb_button_release_event_t*>(event));
      } else {
        listener->OnMotion(*reinterpret_cast<xcb_motion_notify_event_t*>(event));
      }
    }
    free(event);
  }
  xcb_flush(connection_);
}
