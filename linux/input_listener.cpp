#include "linux/input_listener.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <xcb/xinput.h>

#include <cstdlib>

InputListener::~InputListener() { Stop(); }

bool InputListener::Start(RawInputSink* sink, bool moves) {
  sink_ = sink;
  connection_ = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection_)) return false;
  const xcb_query_extension_reply_t* xi = xcb_get_extension_data(connection_, &xcb_input_id);
  if (xi == nullptr || !xi->present) return false;
  xiOpcode_ = xi->major_opcode;
  xcb_input_xi_query_version_reply_t* version = xcb_input_xi_query_version_reply(
      connection_, xcb_input_xi_query_version(connection_, 2, 2), nullptr);
  bool usable = version != nullptr && version->major_version >= 2;
  free(version);
  if (!usable) return false;
  root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;

  struct {
    xcb_input_event_mask_t head;
    uint32_t mask;
  } select{{XCB_INPUT_DEVICE_ALL_MASTER, 1},
           static_cast<uint32_t>(XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_RELEASE |
                                 XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS |
                                 (moves ? XCB_INPUT_XI_EVENT_MASK_RAW_MOTION : 0))};
  xcb_input_xi_select_events(connection_, root_, 1, &select.head);
  // One round trip: once Start returns, the server sends every event.
  free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));

  stopFd_ = eventfd(0, EFD_CLOEXEC);
  if (stopFd_ < 0) return false;
  thread_ = std::thread([this] { Run(); });
  return true;
}

void InputListener::Stop() {
  if (thread_.joinable()) {
    uint64_t one = 1;
    (void)!write(stopFd_, &one, sizeof one);
    thread_.join();
  }
  if (stopFd_ >= 0) close(stopFd_);
  stopFd_ = -1;
  if (connection_ != nullptr) xcb_disconnect(connection_);
  connection_ = nullptr;
}

bool InputListener::QueryPointer(int32_t* x, int32_t* y) {
  xcb_query_pointer_reply_t* pointer =
      xcb_query_pointer_reply(connection_, xcb_query_pointer(connection_, root_), nullptr);
  if (pointer == nullptr) return false;
  *x = pointer->root_x;
  *y = pointer->root_y;
  free(pointer);
  return true;
}

void InputListener::Run() {
  pollfd waits[2] = {{xcb_get_file_descriptor(connection_), POLLIN, 0}, {stopFd_, POLLIN, 0}};
  // A burst of motion asks the pointer's place once, after the last of the
  // events that have arrived: one round trip per batch, not per event.
  bool movePending = false;
  for (;;) {
    // Events a pointer query read along wait in XCB's queue: take them first.
    xcb_generic_event_t* event = xcb_poll_for_queued_event(connection_);
    if (event == nullptr) event = xcb_poll_for_event(connection_);
    if (event == nullptr) {
      int32_t x = 0, y = 0;
      if (movePending && QueryPointer(&x, &y)) sink_->OnRawMove(x, y);
      movePending = false;
      if (xcb_connection_has_error(connection_)) return;
      if (poll(waits, 2, -1) < 0) continue;
      if (waits[1].revents != 0) return;
      continue;
    }
    auto* generic = reinterpret_cast<xcb_ge_generic_event_t*>(event);
    if ((event->response_type & 0x7f) == XCB_GE_GENERIC && generic->extension == xiOpcode_) {
      int32_t x = 0, y = 0;
      switch (generic->event_type) {
        case XCB_INPUT_RAW_BUTTON_PRESS:
          if (reinterpret_cast<xcb_input_raw_button_press_event_t*>(event)->detail == 1 && QueryPointer(&x, &y)) {
            // A move waiting before the press goes first, at the press's place.
            if (movePending) sink_->OnRawMove(x, y);
            movePending = false;
            sink_->OnRawClick(x, y);
          }
          break;
        case XCB_INPUT_RAW_BUTTON_RELEASE:
          if (reinterpret_cast<xcb_input_raw_button_release_event_t*>(event)->detail == 1) sink_->OnRawRelease();
          break;
        case XCB_INPUT_RAW_MOTION:
          movePending = true;
          break;
        case XCB_INPUT_RAW_KEY_PRESS:
          sink_->OnRawKey();
          break;
        default:
          break;
      }
    }
    free(event);
  }
}
