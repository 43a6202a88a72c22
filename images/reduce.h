// Shrinking alpha-bitmap pixels with an area-weighted box filter. Pixels are
// 32-bit values with B in bits 0-7, G 8-15, R 16-23, A 24-31 (the bytes
// B,G,R,A in memory); premultiplied colour lets each byte be averaged alone.
#pragma once
#include <cstdint>

struct RectF {
  float left;
  float top;
  float right;
  float bottom;

  // The common part, or 0,0,0,0 when the two do not overlap.
  RectF Intersect(const RectF& other) const;
  float Width() const { return right - left; }
  float Height() const { return bottom - top; }
  float Area() const { return Width() * Height(); }
};

// Transparent full colour: what lies beyond the source's edges.
constexpr uint32_t OUTSIDE_PIXEL = 0x00FFFFFFu;

// The source pixel at (x, y), or OUTSIDE_PIXEL for a point outside the source.
uint32_t GetSourcePixel(const uint32_t* source, int32_t sourceWidth, int32_t sourceHeight,
                        int32_t x, int32_t y);

// One target pixel: the mean of the source under a box of boxWidth × boxHeight
// centred on (x, y) (source pixel centres sit on integers).
uint32_t SampleBox(const uint32_t* source, int32_t sourceWidth, int32_t sourceHeight, float x,
                   float y, float boxWidth, float boxHeight);

// Fills targetWidth × targetHeight pixels from the source, rows in the same
// order as the source's. 1 on success; 0 (target untouched) when a size is not
// positive or the target is larger than the source on either side.
int ReduceImage(uint32_t* target, const uint32_t* source, int32_t targetWidth,
                int32_t targetHeight, int32_t sourceWidth, int32_t sourceHeight);
