// Timings of the program as another client sees it: from a click to the
// first window mapped, and how late a plain window gets its motion events.
#include <X11/extensions/XTest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "bench/linux/x_bench.h"

namespace {

void PauseMs(int ms) {
  timespec pause{ms / 1000, (ms % 1000) * 1000000L};
  nanosleep(&pause, nullptr);
}

void Drain(xcb_connection_t* c) {
  while (xcb_generic_event_t* event = xcb_poll_for_event(c)) free(event);
}

}  // namespace

int RunClickToMap(xcb_connection_t* c, xcb_screen_t* screen, Display* input, int clicks, int paceMs) {
  uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &mask);
  RoundTrip(c);
  std::vector<double> latency;
  int missed = 0;
  for (int i = 0; i < clicks; ++i) {
    XTestFakeMotionEvent(input, -1, 200 + (i * 97) % 600, 150 + (i * 61) % 400, CurrentTime);
    XSync(input, False);
    PauseMs(paceMs);  // lets the stars of the click before come to rest
    Drain(c);
    double start = NowMs();
    XTestFakeButtonEvent(input, 1, True, CurrentTime);
    XTestFakeButtonEvent(input, 1, False, CurrentTime);
    XFlush(input);
    bool mapped = false;
    while (!mapped) {
      xcb_generic_event_t* event = WaitEvent(c, 2000);
      if (event == nullptr) break;
      mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
      free(event);
    }
    if (mapped) {
      latency.push_back(NowMs() - start);
    } else {
      ++missed;
      if (latency.empty() && missed == 3) break;  // nothing maps windows on a click
    }
  }
  std::vector<double> trip;
  for (int i = 0; i < 200; ++i) {
    double start = NowMs();
    RoundTrip(c);
    trip.push_back(NowMs() - start);
  }
  Figures f = FiguresOf(latency);
  Figures t = FiguresOf(trip);
  printf("click_to_map_ms %.3f median %.3f p95 (%zu clicks, %d without a map)\n", f.median, f.p95, latency.size(), missed);
  printf("round_trip_ms %.4f median %.4f p95\n", t.median, t.p95);
  return latency.empty() ? 1 : 0;
}

int RunMotionLateness(xcb_connection_t* c, xcb_screen_t* screen, Display* input, int moves, int paceMs) {
  // A plain window of our own under the pointer, as any program's would be.
  xcb_window_t window = xcb_generate_id(c);
  uint32_t values[] = {screen->white_pixel, 1, XCB_EVENT_MASK_POINTER_MOTION};
  xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 100, 100, 500, 400, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                    screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
  xcb_map_window(c, window);
  RoundTrip(c);
  XTestFakeMotionEvent(input, -1, 300, 300, CurrentTime);
  XSync(input, False);
  std::vector<double> late;
  int missed = 0;
  for (int i = 0; i < moves; ++i) {
    // Long relative steps, as a fast hand makes on a mouse: they are what the
    // program reacts to (Xvfb gives no raw motion for absolute XTEST moves).
    int step = i % 2 == 0 ? 40 : -40;
    Drain(c);
    double start = NowMs();
    XTestFakeRelativeMotionEvent(input, step, step / 2, CurrentTime);
    XFlush(input);
    bool seen = false;
    while (!seen) {
      xcb_generic_event_t* event = WaitEvent(c, 1000);
      if (event == nullptr) break;
      seen = (event->response_type & 0x7f) == XCB_MOTION_NOTIFY;
      free(event);
    }
    if (seen) {
      late.push_back(NowMs() - start);
    } else {
      ++missed;
    }
    PauseMs(paceMs);
  }
  xcb_destroy_window(c, window);
  RoundTrip(c);
  Figures f = FiguresOf(late);
  printf("motion_late_ms %.4f median %.4f p95 %.4f mean (%zu moves, %d missed)\n", f.median, f.p95, f.mean, late.size(), missed);
  return late.empty() ? 1 : 0;
}
