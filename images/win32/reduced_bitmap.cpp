#include "base/owned_handles.h"
#include "images/win32/alpha_bitmap.h"
#include "images/enlarge.h"
#include "images/reduce.h"

UniqueBitmap GetReducedBitmap(int32_t targetWidth, int32_t targetHeight, int32_t sourceWidth,
                              int32_t sourceHeight, const void* sourcePixels) {
  if (sourcePixels == nullptr) return {};
  BITMAPV5HEADER header;
  UniqueBitmap bitmap = CreateBitmapV5(&header, targetWidth, targetHeight);
  void* bits = AlphaBitmapBits(bitmap.Get());
  if (bits == nullptr ||
      !ReduceImage(static_cast<uint32_t*>(bits), static_cast<const uint32_t*>(sourcePixels),
                   targetWidth, targetHeight, sourceWidth, sourceHeight)) {
    return {};
  }
  return bitmap;
}

UniqueBitmap GetResizedBitmap(int32_t targetWidth, int32_t targetHeight, int32_t sourceWidth,
                              int32_t sourceHeight, const void* sourcePixels) {
  if (targetWidth <= sourceWidth && targetHeight <= sourceHeight) {
    return GetReducedBitmap(targetWidth, targetHeight, sourceWidth, sourceHeight, sourcePixels);
  }
  if (sourcePixels == nullptr) return {};
  BITMAPV5HEADER header;
  UniqueBitmap bitmap = CreateBitmapV5(&header, targetWidth, targetHeight);
  void* bits = AlphaBitmapBits(bitmap.Get());
  if (bits == nullptr ||
      !EnlargeImage(static_cast<uint32_t*>(bits), static_cast<const uint32_t*>(sourcePixels), targetWidth,
                    targetHeight, sourceWidth, sourceHeight)) {
    return {};
  }
  return bitmap;
}
