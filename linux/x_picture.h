// A picture's frames uploaded once into server-side pixmaps, with the shape
// of each frame (where its alpha is not zero), so that showing a frame is a
// change of a window's background and never a new upload.
#pragma once
#include <xcb/xcb.h>

#include <vector>

#include "linux/plain/picture_pixels.h"
#include "linux/x_display.h"

// A frame's shape: runs of the pixels that count as the star, row by row.
using FrameShapeRects = std::vector<xcb_rectangle_t>;

class XPicture {
 public:
  XPicture() = default;
  ~XPicture();
  XPicture(const XPicture&) = delete;
  XPicture& operator=(const XPicture&) = delete;

  // Keeps the pixels (number drawing reads them) and uploads every frame;
  // false when the picture has no frame.
  bool Upload(XDisplay& display, PicturePixels pixels);
  // Frees the pixmaps and the pixels: no frame is left (FrameCount() 0).
  void Release();

  const PicturePixels& Pixels() const { return pixels_; }
  int32_t FrameCount() const { return pixels_.frameCount; }
  int32_t FrameWidth() const { return pixels_.frameWidth; }
  int32_t FrameHeight() const { return pixels_.frameHeight; }
  xcb_pixmap_t Frame(int32_t k) const { return frames_[k]; }
  const FrameShapeRects& Shape(int32_t k) const { return shapes_[k]; }

 private:
  XDisplay* display_ = nullptr;
  PicturePixels pixels_;
  std::vector<xcb_pixmap_t> frames_;
  std::vector<FrameShapeRects> shapes_;
};

// w × h top-down pixels (stride in pixels) into a new 32-bit pixmap; 0 on
// failure.
xcb_pixmap_t UploadPixmap(XDisplay& display, const uint32_t* pixels, int32_t stride, int32_t w, int32_t h);
// The runs of pixels that count as the star on this display: with a
// compositor every pixel not wholly transparent (as a click finds a star on
// Windows); without one, those at least half opaque, so that the hard edge
// runs where the soft one would fade, not along its darkest rim.
FrameShapeRects ShapeOf(const XDisplay& display, const uint32_t* pixels, int32_t stride, int32_t w, int32_t h);
