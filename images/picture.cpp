#include "images/picture.h"

#include <new>

#include "images/alpha_pixels.h"
#include "images/enlarge.h"
#include "images/reduce.h"

PicturePtr MakePicture(int32_t width, int32_t height) {
  size_t bytes = AlphaPixelBytes(width, height);
  if (bytes == 0) return nullptr;
  PicturePtr picture(new (std::nothrow) Picture);
  if (!picture) return nullptr;
  picture->pixels.reset(new (std::nothrow) uint32_t[bytes / 4]());
  if (!picture->pixels) return nullptr;
  picture->width = width;
  picture->height = height;
  picture->frames = FrameLayout{width, height, 1, 1};
  return picture;
}

PicturePtr ResizedPicture(const uint32_t* source, int32_t sourceWidth, int32_t sourceHeight, int32_t targetWidth,
                          int32_t targetHeight) {
  if (source == nullptr) return nullptr;
  PicturePtr picture = MakePicture(targetWidth, targetHeight);
  if (!picture) return nullptr;
  bool made = targetWidth <= sourceWidth && targetHeight <= sourceHeight
                  ? ReduceImage(picture->pixels.get(), source, targetWidth, targetHeight, sourceWidth, sourceHeight)
                  : EnlargeImage(picture->pixels.get(), source, targetWidth, targetHeight, sourceWidth, sourceHeight);
  return made ? std::move(picture) : nullptr;
}
