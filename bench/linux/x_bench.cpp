// x_bench floors | click N PACE_MS | motion N PACE_MS
// Benchmarks of the X display, run by bench/linux/run_bench.py on a display of
// its own; never by ctest. Each figure is printed as "name value unit" lines.
#include "bench/linux/x_bench.h"

#include <poll.h>

#include <X11/extensions/XTest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

double NowMs() {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

Figures FiguresOf(std::vector<double> samples) {
  Figures f;
  if (samples.empty()) return f;
  std::sort(samples.begin(), samples.end());
  f.median = samples[samples.size() / 2];
  f.p95 = samples[std::min(samples.size() - 1, samples.size() * 95 / 100)];
  double sum = 0;
  for (double s : samples) sum += s;
  f.mean = sum / static_cast<double>(samples.size());
  return f;
}

void RoundTrip(xcb_connection_t* c) { free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr)); }

xcb_generic_event_t* WaitEvent(xcb_connection_t* c, int timeoutMs) {
  double end = NowMs() + timeoutMs;
  for (;;) {
    xcb_generic_event_t* event = xcb_poll_for_event(c);
    if (event != nullptr) return event;
    int left = static_cast<int>(end - NowMs());
    if (left <= 0 || xcb_connection_has_error(c)) return nullptr;
    pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
    poll(&fd, 1, left);
  }
}

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: x_bench floors | click N PACE_MS | motion N PACE_MS\n");
    return 2;
  }
  int screenNumber = 0;
  xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
  if (xcb_connection_has_error(c)) {
    fprintf(stderr, "x_bench: no display\n");
    return 1;
  }
  xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
  for (int i = 0; i < screenNumber; ++i) xcb_screen_next(&it);
  xcb_screen_t* screen = it.data;
  int count = argc > 2 ? atoi(argv[2]) : 50;
  int pace = argc > 3 ? atoi(argv[3]) : 300;
  int result = 2;
  if (strcmp(argv[1], "floors") == 0) {
    result = RunFloors(c, screen);
  } else {
    // Input comes from a connection of its own, as a device's would.
    Display* input = XOpenDisplay(nullptr);
    int event, error, major, minor;
    if (input == nullptr || !XTestQueryExtension(input, &event, &error, &major, &minor)) {
      fprintf(stderr, "x_bench: no XTEST\n");
      return 1;
    }
    if (strcmp(argv[1], "click") == 0) result = RunClickToMap(c, screen, input, count, pace);
    if (strcmp(argv[1], "motion") == 0) result = RunMotionLateness(c, screen, input, count, pace);
    XCloseDisplay(input);
  }
  xcb_disconnect(c);
  return result;
}
