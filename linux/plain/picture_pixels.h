// A picture as the star windows take it: premultiplied A,R,G,B words (the
// alpha-bitmap's B,G,R,A bytes read as one little-endian word), top row
// first, with the layout of its frames.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

struct PicturePixels {
  std::vector<uint32_t> pixels;  // width × height, top row first
  int32_t width = 0;
  int32_t height = 0;
  int32_t frameWidth = 0;
  int32_t frameHeight = 0;
  int32_t frameCount = 1;        // at least 1
  int32_t framesSideBySide = 1;  // 1: frame k at (k * frameWidth, 0); 0: at (0, k * frameHeight)

  // The top-left pixel of frame k; its rows are width pixels apart.
  const uint32_t* Frame(int32_t k) const {
    int32_t left = framesSideBySide ? k * frameWidth : 0;
    int32_t top = framesSideBySide ? 0 : k * frameHeight;
    return pixels.data() + static_cast<size_t>(top) * width + left;
  }
};

// Alpha-bitmap memory (bottom row first) of a width × height picture as
// pixels; false when the size does not match the bytes.
bool PicturePixelsFromAlphaBitmap(const uint8_t* bits, size_t bytes, int32_t width, int32_t height,
                                  PicturePixels* out);

struct Picture;
// A core picture (alpha-bitmap memory) as pixels with its frame layout; false
// when it has no pixels.
bool PicturePixelsFromPicture(const Picture& picture, PicturePixels* out);

// The pixels resized to width × height (reduced, or enlarged where the
// source is smaller); false when one side grows while the other shrinks.
bool ResizePixels(const PicturePixels& source, int32_t width, int32_t height, PicturePixels* out);
