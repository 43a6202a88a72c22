#include "linux/picture_pixels.h"

#include <cstring>

#include "images/alpha_pixels.h"

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
