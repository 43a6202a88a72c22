// A picture as every front end gets it: premultiplied B,G,R,A pixel memory
// (bottom row first, rows without gaps) and how it is cut into frames. The
// platform makes what it draws with from it (a DIB section and memory DC on
// Win32); the rules only ever look at its frame layout.
#pragma once
#include <cstdint>
#include <memory>

#include "images/frame_layout.h"

struct Picture {
  std::unique_ptr<uint32_t[]> pixels;  // width * height; null once handed over to the platform
  int32_t width = 0;
  int32_t height = 0;
  FrameLayout frames{0, 0, 1, 1};  // one whole frame unless cut

  const FrameLayout& Frames() const { return frames; }
};
using PicturePtr = std::unique_ptr<Picture>;

// A new transparent width x height picture of one whole frame; null when a
// side is not positive, the size does not fit or no memory is left.
PicturePtr MakePicture(int32_t width, int32_t height);

// A new picture of the target size from source pixels (premultiplied,
// bottom-up): reduced when neither side grows, else enlarged. Null when the
// sizes are neither, or no memory is left.
PicturePtr ResizedPicture(const uint32_t* source, int32_t sourceWidth, int32_t sourceHeight, int32_t targetWidth,
                          int32_t targetHeight);
