// star_harness PNG|builtin [--measure|--art]
// By hand: twenty stars of the PNG on the screen, to be caught, dragged,
// dropped and erased from their menu. With --measure: what the star windows
// cost beside bare ARGB override-redirect XCB windows on the same display,
// each batch ended by one round trip.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include <QApplication>

#include "images/star_pixels.h"
#include <xcb/shape.h>

#include "linux/plain/picture_pixels.h"
#include "linux/x_display.h"
#include "linux/x_picture.h"
#include "linux/x_artwork.h"
#include "linux/x_star_surface.h"

namespace {
class VectorTarget final : public PixelTarget {
 public:
  uint32_t* Allocate(int32_t width, int32_t height) override {
    memory.resize(static_cast<size_t>(width) * height);
    return memory.data();
  }
  std::vector<uint32_t> memory;
};

class HarnessEvents final : public StarWindowEvents {
 public:
  void OnStarGrabbed(uintptr_t handle) override { printf("grabbed 0x%lx\n", static_cast<unsigned long>(handle)); }
  void OnStarDropped(uintptr_t handle) override { printf("dropped 0x%lx\n", static_cast<unsigned long>(handle)); }
  bool ManyStarsGrabbed() const override { return true; }
  void OnStarMenu(uintptr_t handle, StarMenuChoice choice) override {
    printf("menu 0x%lx %d\n", static_cast<unsigned long>(handle), static_cast<int>(choice));
    for (auto& star : *stars) {
      if (star && star->Handle() == handle && choice == StarMenuChoice::kErase) star.reset();
    }
  }
  std::vector<std::unique_ptr<XStarSurface>>* stars = nullptr;
};

void RoundTrip(XDisplay& display) {
  free(xcb_get_input_focus_reply(display.Connection(), xcb_get_input_focus(display.Connection()), nullptr));
}

double Ms(std::chrono::steady_clock::time_point from) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - from).count();
}

// The floor: a bare ARGB override-redirect window painted with put-image.
xcb_window_t BareWindow(XDisplay& display, const PicturePixels& pixels, int16_t x, int16_t y) {
  xcb_connection_t* c = display.Connection();
  xcb_window_t window = xcb_generate_id(c);
  uint32_t values[] = {0, 1, display.ArgbColormap()};
  xcb_create_window(c, 32, window, display.Root(), x, y, static_cast<uint16_t>(pixels.width),
                    static_cast<uint16_t>(pixels.height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, display.ArgbVisual(),
                    XCB_CW_BORDER_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_COLORMAP, values);
  xcb_map_window(c, window);
  xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, window, display.Gc32(), static_cast<uint16_t>(pixels.width),
                static_cast<uint16_t>(pixels.height), 0, 0, 0, 32, static_cast<uint32_t>(pixels.pixels.size() * 4),
                reinterpret_cast<const uint8_t*>(pixels.pixels.data()));
  return window;
}

void Measure(XDisplay& display, const PicturePixels& pixels, const XPicture& picture, StarWindowEvents* events) {
  constexpr int kStars = 100;
  constexpr int kTicks = 50;
  xcb_connection_t* c = display.Connection();
  RoundTrip(display);

  auto made = std::chrono::steady_clock::now();
  std::vector<xcb_window_t> bare;
  for (int i = 0; i < kStars; ++i) bare.push_back(BareWindow(display, pixels, static_cast<int16_t>(i * 5), 10));
  RoundTrip(display);
  double bareMake = Ms(made) / kStars;

  made = std::chrono::steady_clock::now();
  std::vector<std::unique_ptr<XStarSurface>> stars;
  for (int i = 0; i < kStars; ++i) {
    stars.push_back(std::make_unique<XStarSurface>(display, &picture, nullptr, events));
    stars.back()->Create();
    stars.back()->ShowTopmostAt(PixelPoint{i * 5, 200});
  }
  RoundTrip(display);
  double starMake = Ms(made) / kStars;

  auto moved = std::chrono::steady_clock::now();
  for (int t = 0; t < kTicks; ++t) {
    for (int i = 0; i < kStars; ++i) {
      uint32_t at[] = {static_cast<uint32_t>(i * 5 + t), static_cast<uint32_t>(10 + t)};
      xcb_configure_window(c, bare[i], XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, at);
    }
    RoundTrip(display);
  }
  double bareMove = Ms(moved) / kTicks;
  moved = std::chrono::steady_clock::now();
  for (int t = 0; t < kTicks; ++t) {
    for (int i = 0; i < kStars; ++i) stars[i]->MoveTo(PixelPoint{i * 5 + t, 200 + t});
    RoundTrip(display);
  }
  double starMove = Ms(moved) / kTicks;

  auto remapped = std::chrono::steady_clock::now();
  for (int t = 0; t < kTicks; ++t) {
    xcb_unmap_window(c, bare[0]);
    xcb_map_window(c, bare[0]);
    RoundTrip(display);
  }
  double bareRemap = Ms(remapped) / kTicks;
  remapped = std::chrono::steady_clock::now();
  for (int t = 0; t < kTicks; ++t) {
    stars[0]->Hide();
    stars[0]->ShowTopmostAt(PixelPoint{0, 200});
    RoundTrip(display);
  }
  double starRemap = Ms(remapped) / kTicks;

  // Bare windows that paint and clip as a star must without a compositor:
  // the picture as background, the alpha as bounding shape. What they cost
  // beyond the floor is the server's, not the star windows'.
  const FrameShapeRects& shape = picture.Shape(0);
  std::vector<xcb_window_t> shaped;
  for (int i = 0; i < kStars; ++i) {
    xcb_window_t window = xcb_generate_id(c);
    uint32_t values[] = {picture.Frame(0), 0, 1, display.ArgbColormap()};
    xcb_create_window(c, 32, window, display.Root(), static_cast<int16_t>(i * 5), 400,
                      static_cast<uint16_t>(pixels.width), static_cast<uint16_t>(pixels.height), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, display.ArgbVisual(),
                      XCB_CW_BACK_PIXMAP | XCB_CW_BORDER_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_COLORMAP, values);
    xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING, XCB_CLIP_ORDERING_UNSORTED, window, 0, 0,
                         static_cast<uint32_t>(shape.size()), shape.data());
    xcb_map_window(c, window);
    shaped.push_back(window);
  }
  RoundTrip(display);
  moved = std::chrono::steady_clock::now();
  for (int t = 0; t < kTicks; ++t) {
    for (int i = 0; i < kStars; ++i) {
      uint32_t at[] = {static_cast<uint32_t>(i * 5 + t), static_cast<uint32_t>(400 + t)};
      xcb_configure_window(c, shaped[i], XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, at);
    }
    RoundTrip(display);
  }
  double shapedMove = Ms(moved) / kTicks;
  for (xcb_window_t window : shaped) xcb_destroy_window(c, window);

  printf("compositor %d\n", display.Compositing() ? 1 : 0);
  printf("tick of %d bare shaped windows painted by background %.4f ms\n", kStars, shapedMove);
  printf("new window   %.4f ms  floor %.4f ms  ratio %.2f\n", starMake, bareMake, starMake / bareMake);
  printf("tick of %d   %.4f ms  floor %.4f ms  ratio %.2f\n", kStars, starMove, bareMove, starMove / bareMove);
  printf("remap one    %.4f ms  floor %.4f ms  ratio %.2f\n", starRemap, bareRemap, starRemap / bareRemap);
  for (xcb_window_t window : bare) xcb_destroy_window(c, window);
  stars.clear();
  RoundTrip(display);
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: star_harness PNG|builtin [--measure|--art]\n");
    return 2;
  }
  setvbuf(stdout, nullptr, _IOLBF, 0);  // each event line as it happens
  qputenv("QT_QPA_PLATFORM", "xcb");
  QApplication app(argc, argv);
  XDisplay display;
  if (!display.Open()) {
    fprintf(stderr, "star_harness: no display with a 32-bit visual\n");
    return 1;
  }
  display.SetDpi(static_cast<int32_t>(app.devicePixelRatio() * 96 + 0.5));
  VectorTarget target;
  PicturePixels pixels;
  int32_t width = 0, height = 0;
  char reason[256] = "";
  if (strcmp(argv[1], "builtin") == 0) {
    if (!BuiltInPixels(BuiltInArt::kStar, 72, 72, &pixels)) {
      fprintf(stderr, "star_harness: the built-in star does not unpack\n");
      return 1;
    }
  } else if (!LoadStarPixels(argv[1], 0, &target, &width, &height, reason) ||
      !PicturePixelsFromAlphaBitmap(reinterpret_cast<const uint8_t*>(target.memory.data()),
                                    target.memory.size() * 4, width, height, &pixels)) {
    fprintf(stderr, "star_harness: %s: %s\n", argv[1], reason);
    return 1;
  }
  XPicture picture;
  picture.Upload(display, pixels);
  HarnessEvents events;
  if (argc > 2 && strcmp(argv[2], "--measure") == 0) {
    Measure(display, pixels, picture, &events);
    return 0;
  }
  XArtwork artwork;
  if (!LoadXArtwork(display, &artwork)) fprintf(stderr, "star_harness: no poof artwork\n");
  std::vector<std::unique_ptr<XStarSurface>> stars;
  events.stars = &stars;
  for (int i = 0; i < 20; ++i) {
    stars.push_back(std::make_unique<XStarSurface>(display, &picture, &artwork, &events));
    stars.back()->Create();
    stars.back()->ShowTopmostAt(PixelPoint{40 + (i % 5) * 90, 40 + (i / 5) * 90});
  }
  if (argc > 2 && strcmp(argv[2], "--art") == 0) {
    // Numbers of one, two and three digits, and each poof frame, to look at.
    stars[0]->DrawNumber(2);
    stars[1]->DrawNumber(37);
    stars[2]->DrawNumber(512);
    for (int k = 0; k < 5; ++k) stars[5 + k]->ShowPoofFrame(k, true);
  }
  display.Flush();
  return app.exec();
}
