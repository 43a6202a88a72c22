#include "linux/x_picture.h"

#include <algorithm>

#include "linux/plain/shape_runs.h"

XPicture::~XPicture() { Release(); }

void XPicture::Release() {
  if (display_ != nullptr) {
    for (xcb_pixmap_t frame : frames_) {
      if (frame != 0) xcb_free_pixmap(display_->Connection(), frame);
    }
  }
  frames_.clear();
  shapes_.clear();
  pixels_ = PicturePixels{};
  pixels_.frameCount = 0;
}

bool XPicture::Upload(XDisplay& display, PicturePixels pixels) {
  if (pixels.frameCount < 1 || pixels.frameWidth <= 0 || pixels.frameHeight <= 0) return false;
  Release();
  display_ = &display;
  pixels_ = static_cast<PicturePixels&&>(pixels);
  for (int32_t k = 0; k < pixels_.frameCount; ++k) {
    const uint32_t* first = pixels_.Frame(k);
    frames_.push_back(UploadPixmap(display, first, pixels_.width, pixels_.frameWidth, pixels_.frameHeight));
    shapes_.push_back(ShapeOf(display, first, pixels_.width, pixels_.frameWidth, pixels_.frameHeight));
  }
  return true;
}

xcb_pixmap_t UploadPixmap(XDisplay& display, const uint32_t* pixels, int32_t stride, int32_t w, int32_t h) {
  if (w <= 0 || h <= 0) return 0;
  xcb_connection_t* c = display.Connection();
  xcb_pixmap_t pixmap = xcb_generate_id(c);
  xcb_create_pixmap(c, 32, pixmap, display.Root(), static_cast<uint16_t>(w), static_cast<uint16_t>(h));
  // As many rows a request as the server takes (with room for the header).
  uint32_t rowBytes = static_cast<uint32_t>(w) * 4;
  int32_t rowsPerRequest = std::max<int32_t>(1, static_cast<int32_t>((display.MaxRequestBytes() - 64) / rowBytes));
  std::vector<uint32_t> rows;
  for (int32_t top = 0; top < h; top += rowsPerRequest) {
    int32_t count = std::min(rowsPerRequest, h - top);
    const uint32_t* from = pixels + static_cast<size_t>(top) * stride;
    if (stride != w) {
      // A frame of a strip: its rows gathered without the neighbours' pixels.
      rows.resize(static_cast<size_t>(count) * w);
      for (int32_t y = 0; y < count; ++y) std::copy_n(from + static_cast<size_t>(y) * stride, w, &rows[y * w]);
      from = rows.data();
    }
    xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, display.Gc32(), static_cast<uint16_t>(w),
                  static_cast<uint16_t>(count), 0, static_cast<int16_t>(top), 0, 32, count * rowBytes,
                  reinterpret_cast<const uint8_t*>(from));
  }
  return pixmap;
}

FrameShapeRects ShapeOf(const XDisplay& display, const uint32_t* pixels, int32_t stride, int32_t w, int32_t h) {
  FrameShapeRects rects;
  ShapeRuns(pixels, stride, w, h, display.Compositing() ? 1 : 128, &rects);
  return rects;
}
