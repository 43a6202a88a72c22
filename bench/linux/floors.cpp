// The display's floor for star windows: bare 32-bit ARGB override-redirect
// windows (own colormap, border pixel 0) made, painted and mapped; 100 of
// them moved a tick; unmapped and mapped again; each batch ended by one
// round trip, as the program ends its batches.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/linux/x_bench.h"

namespace {

constexpr int kSide = 72;
constexpr int kWindows = 100;
constexpr int kRounds = 20;

xcb_visualid_t ArgbVisual(xcb_screen_t* screen) {
  for (xcb_depth_iterator_t d = xcb_screen_allowed_depths_iterator(screen); d.rem; xcb_depth_next(&d)) {
    if (d.data->depth != 32) continue;
    xcb_visualtype_iterator_t v = xcb_depth_visuals_iterator(d.data);
    if (v.rem) return v.data->visual_id;
  }
  return 0;
}

}  // namespace

int RunFloors(xcb_connection_t* c, xcb_screen_t* screen) {
  xcb_visualid_t visual = ArgbVisual(screen);
  if (visual == 0) {
    fprintf(stderr, "x_bench: no 32-bit visual\n");
    return 1;
  }
  xcb_colormap_t colormap = xcb_generate_id(c);
  xcb_create_colormap(c, XCB_COLORMAP_ALLOC_NONE, colormap, screen->root, visual);
  // One graphics context for every window of the depth.
  xcb_pixmap_t scratch = xcb_generate_id(c);
  xcb_create_pixmap(c, 32, scratch, screen->root, 1, 1);
  xcb_gcontext_t gc = xcb_generate_id(c);
  xcb_create_gc(c, gc, scratch, 0, nullptr);
  std::vector<uint32_t> pixels(kSide * kSide, 0x80ffc000u);  // premultiplied half-gold

  std::vector<double> make, move, remap, trip;
  std::vector<xcb_window_t> windows(kWindows);
  for (int round = 0; round < kRounds; ++round) {
    double start = NowMs();
    for (int i = 0; i < kWindows; ++i) {
      windows[i] = xcb_generate_id(c);
      uint32_t values[] = {0, 0, 1, colormap};  // back pixel, border pixel, override-redirect, colormap
      xcb_create_window(c, 32, windows[i], screen->root, static_cast<int16_t>(i * 7 % 900), static_cast<int16_t>(i * 5 % 600),
                        kSide, kSide, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, visual,
                        XCB_CW_BACK_PIXEL | XCB_CW_BORDER_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_COLORMAP, values);
      xcb_map_window(c, windows[i]);
      xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, windows[i], gc, kSide, kSide, 0, 0, 0, 32,
                    static_cast<uint32_t>(pixels.size() * 4), reinterpret_cast<const uint8_t*>(pixels.data()));
    }
    RoundTrip(c);
    make.push_back((NowMs() - start) / kWindows);

    for (int tick = 0; tick < 10; ++tick) {
      start = NowMs();
      for (int i = 0; i < kWindows; ++i) {
        uint32_t place[] = {static_cast<uint32_t>((i * 7 + tick * 3) % 900), static_cast<uint32_t>((i * 5 + tick * 2) % 600)};
        xcb_configure_window(c, windows[i], XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, place);
      }
      RoundTrip(c);
      move.push_back(NowMs() - start);
    }

    start = NowMs();
    for (int i = 0; i < kWindows; ++i) {
      xcb_unmap_window(c, windows[i]);
      xcb_map_window(c, windows[i]);
    }
    RoundTrip(c);
    remap.push_back((NowMs() - start) / kWindows);

    for (xcb_window_t w : windows) xcb_destroy_window(c, w);
    RoundTrip(c);
  }
  for (int i = 0; i < 1000; ++i) {
    double start = NowMs();
    RoundTrip(c);
    trip.push_back(NowMs() - start);
  }
  Figures f = FiguresOf(make);
  printf("floor.new_window_ms %.4f median (p95 %.4f)\n", f.median, f.p95);
  f = FiguresOf(move);
  printf("floor.move_100_ms %.4f median (p95 %.4f)\n", f.median, f.p95);
  f = FiguresOf(remap);
  printf("floor.remap_window_ms %.4f median (p95 %.4f)\n", f.median, f.p95);
  f = FiguresOf(trip);
  printf("floor.round_trip_ms %.4f median (p95 %.4f)\n", f.median, f.p95);
  xcb_free_gc(c, gc);
  xcb_free_pixmap(c, scratch);
  xcb_free_colormap(c, colormap);
  RoundTrip(c);
  return 0;
}
