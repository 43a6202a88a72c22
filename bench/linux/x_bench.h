// What the X benchmarks share: a clock, figures of a sample, a round trip,
// waiting for an event with a bound, and input put in through XTEST on a
// connection of its own (as a real device's would come).
#pragma once
#include <X11/Xlib.h>
#include <xcb/xcb.h>

#include <cstdint>
#include <vector>

double NowMs();

struct Figures {
  double median = 0;
  double p95 = 0;
  double mean = 0;
};
Figures FiguresOf(std::vector<double> samples);

// One request answered by the server.
void RoundTrip(xcb_connection_t* c);

// The next event, or null after timeoutMs (caller frees it).
xcb_generic_event_t* WaitEvent(xcb_connection_t* c, int timeoutMs);

// The floor of the display: bare ARGB override-redirect windows and a round trip.
int RunFloors(xcb_connection_t* c, xcb_screen_t* screen);
// From a click (put in through XTEST) to the first window the server maps.
int RunClickToMap(xcb_connection_t* c, xcb_screen_t* screen, Display* input, int clicks, int paceMs);
// From a pointer motion (XTEST) to its MotionNotify in a window of our own.
int RunMotionLateness(xcb_connection_t* c, xcb_screen_t* screen, Display* input, int moves, int paceMs);
