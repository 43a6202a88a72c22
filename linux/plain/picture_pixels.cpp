#include "linux/plain/picture_pixels.h"

#include "images/picture.h"

#include <cstring>

#include "images/alpha_pixels.h"
#include "images/enlarge.h"
#include "images/reduce.h"

bool PicturePixelsFromAlphaBitmap(const uint8_t* bits, size_t bytes, int32_t width, int32_t height,
                                  PicturePixels* out) {
  size_t need = AlphaPixelBytes(width, height);
  if (need == 0 || bytes < need) return false;
  out->pixels.resize(static_cast<size_t>(width) * height);
  size_t row = static_cast<size_t>(width) * 4;
  for (int32_t y = 0; y < height; ++y) {
    memcpy(&out->pixels[static_cast<size_t>(y) * width], bits + (height - 1 - y) * row, row);
  }
  out->width = out->frameWidth = width;
  out->height = out->frameHeight = height;
  out->frameCount = 1;
  out->framesSideBySide = 1;
  return true;
}

bool ResizePixels(const PicturePixels& source, int32_t width, int32_t height, PicturePixels* out) {
  out->pixels.resize(static_cast<size_t>(width) * height);
  int done = 0;
  if (width <= source.width && height <= source.height) {
    done = ReduceImage(out->pixels.data(), source.pixels.data(), width, height, source.width, source.height);
  } else {
    done = EnlargeImage(out->pixels.data(), source.pixels.data(), width, height, source.width, source.height);
  }
  if (!done) return false;
  out->width = out->frameWidth = width;
  out->height = out->frameHeight = height;
  out->frameCount = 1;
  out->framesSideBySide = 1;
  return true;
}

bool PicturePixelsFromPicture(const Picture& picture, PicturePixels* out) {
  if (!picture.pixels) return false;
  if (!PicturePixelsFromAlphaBitmap(reinterpret_cast<const uint8_t*>(picture.pixels.get()),
                                    static_cast<size_t>(picture.width) * picture.height * 4, picture.width,
                                    picture.height, out)) {
    return false;
  }
  const FrameLayout& frames = picture.Frames();
  out->frameWidth = frames.frameWidth;
  out->frameHeight = frames.frameHeight;
  out->frameCount = frames.frameCount;
  out->framesSideBySide = frames.framesSideBySide;
  return true;
}
