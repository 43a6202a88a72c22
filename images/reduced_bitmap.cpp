#include "images/alpha_bitmap.h"
#include "images/reduce.h"

HBITMAP GetReducedBitmap(int32_t targetWidth, int32_t targetHeight, int32_t sourceWidth,
                         int32_t sourceHeight, const void* sourcePixels) {
  if (sourcePixels == nullptr) return nullptr;
  BITMAPV5HEADER header;
  HBITMAP bitmap = CreateBitmapV5(&header, targetWidth, targetHeight);
  void* bits = AlphaBitmapBits(bitmap);
  if (bits == nullptr ||
      !ReduceImage(static_cast<uint32_t*>(bits), static_cast<const uint32_t*>(sourcePixels),
                   targetWidth, targetHeight, sourceWidth, sourceHeight)) {
    if (bitmap != nullptr) DeleteObject(bitmap);
    return nullptr;
  }
  return bitmap;
}
