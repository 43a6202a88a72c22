#include "images/reduce.h"

#include <algorithm>

RectF RectF::Intersect(const RectF& other) const {
  RectF r{std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
          std::min(bottom, other.bottom)};
  if (r.left > r.right || r.top > r.bottom) return RectF{0, 0, 0, 0};
  return r;
}

uint32_t GetSourcePixel(const uint32_t* source, int32_t sourceWidth, int32_t sourceHeight,
                        int32_t x, int32_t y) {
  // Negative points are outside too: a footprint must never read before the buffer.
  if (x < 0 || y < 0 || x >= sourceWidth || y >= sourceHeight) return OUTSIDE_PIXEL;
  return source[static_cast<size_t>(y) * static_cast<size_t>(sourceWidth) +
                static_cast<size_t>(x)];
}

namespace {

RectF PixelSquare(int32_t x, int32_t y) {
  float fx = static_cast<float>(x);
  float fy = static_cast<float>(y);
  return RectF{fx - 0.5f, fy - 0.5f, fx + 0.5f, fy + 0.5f};
}

uint8_t ClampToByte(double value) {
  if (value >= 255.0) return 255;
  if (value <= 0.0) return 0;
  return static_cast<uint8_t>(value);
}

}  // namespace

uint32_t SampleBox(const uint32_t* source, int32_t sourceWidth, int32_t sourceHeight, float x,
                   float y, float boxWidth, float boxHeight) {
  RectF box{x - boxWidth / 2, y - boxHeight / 2, x + boxWidth / 2, y + boxHeight / 2};
  // Exactly, the last footprint ends on the source's edge; in single precision
  // it can poke a hair beyond, where transparent white would tint the edge.
  RectF sourceArea{-0.5f, -0.5f, static_cast<float>(sourceWidth) - 0.5f,
                   static_cast<float>(sourceHeight) - 0.5f};
  box = box.Intersect(sourceArea);
  int32_t u = static_cast<int32_t>(box.left + 0.5f);
  int32_t t = static_cast<int32_t>(box.top + 0.5f);
  int32_t v = static_cast<int32_t>(box.right + 0.5f);
  int32_t b = static_cast<int32_t>(box.bottom + 0.5f);
  RectF r1 = box.Intersect(PixelSquare(u, t));
  RectF r2 = box.Intersect(PixelSquare(v, b));
  float wu = r1.Width(), wt = r1.Height(), wv = r2.Width(), wb = r2.Height();

  // Each row is summed with the column weights, then added with its row
  // weight: the corners get wt × wu and so on, the inside 1.
  double sum[4] = {0, 0, 0, 0};
  double totalWeight = 0;
  for (int32_t row = t; row <= b; ++row) {
    float wy = row == t ? wt : (row == b ? wb : 1.0f);
    if (wy == 0.0f) continue;
    double rowSum[4] = {0, 0, 0, 0};
    double rowWeight = 0;
    for (int32_t col = u; col <= v; ++col) {
      float wx = col == u ? wu : (col == v ? wv : 1.0f);
      if (wx == 0.0f) continue;
      uint32_t p = GetSourcePixel(source, sourceWidth, sourceHeight, col, row);
      rowSum[0] += (p & 0xFF) * static_cast<double>(wx);
      rowSum[1] += ((p >> 8) & 0xFF) * static_cast<double>(wx);
      rowSum[2] += ((p >> 16) & 0xFF) * static_cast<double>(wx);
      rowSum[3] += (p >> 24) * static_cast<double>(wx);
      rowWeight += wx;
    }
    for (int k = 0; k < 4; ++k) sum[k] += rowSum[k] * wy;
    totalWeight += rowWeight * wy;
  }
  // The weights add up to the box's area; dividing by their own total rather
  // than by the single-precision area, and forgiving the last bits of double
  // rounding before truncating, keeps a plain colour (opaque white above all)
  // exactly as it was instead of losing 1.
  if (totalWeight <= 0) return 0;
  uint32_t pixel = 0;
  for (int k = 0; k < 4; ++k) {
    pixel |= static_cast<uint32_t>(ClampToByte(sum[k] / totalWeight + 1e-9)) << (8 * k);
  }
  return pixel;
}

int ReduceImage(uint32_t* target, const uint32_t* source, int32_t targetWidth,
                int32_t targetHeight, int32_t sourceWidth, int32_t sourceHeight) {
  if (target == nullptr || source == nullptr || targetWidth <= 0 || targetHeight <= 0 ||
      targetWidth > sourceWidth || targetHeight > sourceHeight) {
    return 0;
  }
  float sx = static_cast<float>(static_cast<double>(sourceWidth) / targetWidth);
  float sy = static_cast<float>(static_cast<double>(sourceHeight) / targetHeight);
  for (int32_t i = 0; i < targetHeight; ++i) {
    float y = (static_cast<float>(i) + 0.5f) * sy - 0.5f;
    uint32_t* out = target + static_cast<size_t>(i) * static_cast<size_t>(targetWidth);
    for (int32_t j = 0; j < targetWidth; ++j) {
      float x = (static_cast<float>(j) + 0.5f) * sx - 0.5f;
      out[j] = SampleBox(source, sourceWidth, sourceHeight, x, y, sx, sy);
    }
  }
  return 1;
}
