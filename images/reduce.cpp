#include "images/reduce.h"

#include <algorithm>

#include "images/box_weights.h"

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

float ScaleOf(int32_t source, int32_t target) {
  return static_cast<float>(static_cast<double>(source) / target);
}

BoxFootprint FootprintOf(int32_t sourceWidth, int32_t sourceHeight, float x, float y, float boxWidth,
                         float boxHeight) {
  RectF box{x - boxWidth / 2, y - boxHeight / 2, x + boxWidth / 2, y + boxHeight / 2};
  // Exactly, the last footprint ends on the source's edge; in single precision
  // it can poke a hair beyond, where transparent white would tint the edge.
  RectF sourceArea{-0.5f, -0.5f, static_cast<float>(sourceWidth) - 0.5f,
                   static_cast<float>(sourceHeight) - 0.5f};
  box = box.Intersect(sourceArea);
  BoxFootprint f{};
  f.u = static_cast<int32_t>(box.left + 0.5f);
  f.t = static_cast<int32_t>(box.top + 0.5f);
  f.v = static_cast<int32_t>(box.right + 0.5f);
  f.b = static_cast<int32_t>(box.bottom + 0.5f);
  RectF r1 = box.Intersect(PixelSquare(f.u, f.t));
  RectF r2 = box.Intersect(PixelSquare(f.v, f.b));
  f.wu = r1.Width();
  f.wt = r1.Height();
  f.wv = r2.Width();
  f.wb = r2.Height();
  return f;
}

float ColumnWeight(const BoxFootprint& f, int32_t col) {
  return col == f.u ? f.wu : (col == f.v ? f.wv : 1.0f);
}

float RowWeight(const BoxFootprint& f, int32_t row) {
  return row == f.t ? f.wt : (row == f.b ? f.wb : 1.0f);
}

void SumRow(const uint32_t* row, int32_t rowWidth, const BoxFootprint& f, double sum[4], double* weight) {
  double rowSum[4] = {0, 0, 0, 0};
  double rowWeight = 0;
  for (int32_t col = f.u; col <= f.v; ++col) {
    float wx = ColumnWeight(f, col);
    if (wx == 0.0f) continue;
    uint32_t p = row != nullptr && col >= 0 && col < rowWidth ? row[col] : OUTSIDE_PIXEL;
    rowSum[0] += (p & 0xFF) * static_cast<double>(wx);
    rowSum[1] += ((p >> 8) & 0xFF) * static_cast<double>(wx);
    rowSum[2] += ((p >> 16) & 0xFF) * static_cast<double>(wx);
    rowSum[3] += (p >> 24) * static_cast<double>(wx);
    rowWeight += wx;
  }
  for (int k = 0; k < 4; ++k) sum[k] = rowSum[k];
  *weight = rowWeight;
}

// The weights add up to the box's area; dividing by their own total rather
// than by the single-precision area, and forgiving the last bits of double
// rounding before truncating, keeps a plain colour (opaque white above all)
// exactly as it was instead of losing 1.
uint32_t MeanPixel(const double sum[4], double totalWeight) {
  if (totalWeight <= 0) return 0;
  uint32_t pixel = 0;
  for (int k = 0; k < 4; ++k) {
    pixel |= static_cast<uint32_t>(ClampToByte(sum[k] / totalWeight + 1e-9)) << (8 * k);
  }
  return pixel;
}

float FootprintCentre(int32_t i, float scale) { return (static_cast<float>(i) + 0.5f) * scale - 0.5f; }

uint32_t SampleBox(const uint32_t* source, int32_t sourceWidth, int32_t sourceHeight, float x,
                   float y, float boxWidth, float boxHeight) {
  BoxFootprint f = FootprintOf(sourceWidth, sourceHeight, x, y, boxWidth, boxHeight);
  // Each row is summed with the column weights, then added with its row
  // weight: the corners get wt × wu and so on, the inside 1.
  double sum[4] = {0, 0, 0, 0};
  double totalWeight = 0;
  for (int32_t row = f.t; row <= f.b; ++row) {
    float wy = RowWeight(f, row);
    if (wy == 0.0f) continue;
    const uint32_t* pixels = row >= 0 && row < sourceHeight
                                 ? source + static_cast<size_t>(row) * static_cast<size_t>(sourceWidth)
                                 : nullptr;
    double rowSum[4];
    double rowWeight;
    SumRow(pixels, sourceWidth, f, rowSum, &rowWeight);
    for (int k = 0; k < 4; ++k) sum[k] += rowSum[k] * wy;
    totalWeight += rowWeight * wy;
  }
  return MeanPixel(sum, totalWeight);
}

namespace {

// Every target pixel sampled on its own: what the row-by-row reducer gives
// to the bit, kept for when that one finds no memory.
void ReducePixelByPixel(uint32_t* target, const uint32_t* source, int32_t targetWidth, int32_t targetHeight,
                        int32_t sourceWidth, int32_t sourceHeight) {
  float sx = ScaleOf(sourceWidth, targetWidth);
  float sy = ScaleOf(sourceHeight, targetHeight);
  for (int32_t i = 0; i < targetHeight; ++i) {
    float y = FootprintCentre(i, sy);
    uint32_t* out = target + static_cast<size_t>(i) * static_cast<size_t>(targetWidth);
    for (int32_t j = 0; j < targetWidth; ++j) {
      out[j] = SampleBox(source, sourceWidth, sourceHeight, FootprintCentre(j, sx), y, sx, sy);
    }
  }
}

}  // namespace

int ReduceImage(uint32_t* target, const uint32_t* source, int32_t targetWidth,
                int32_t targetHeight, int32_t sourceWidth, int32_t sourceHeight) {
  if (target == nullptr || source == nullptr || targetWidth <= 0 || targetHeight <= 0 ||
      targetWidth > sourceWidth || targetHeight > sourceHeight) {
    return 0;
  }
  // Each source row is summed under the target columns once, rather than once
  // for every target row whose footprint it lies under.
  RowReducer reducer;
  if (!reducer.Begin(target, targetWidth, targetHeight, sourceWidth, sourceHeight)) {
    ReducePixelByPixel(target, source, targetWidth, targetHeight, sourceWidth, sourceHeight);
    return 1;
  }
  for (int32_t y = sourceHeight - 1; y >= 0; --y) {
    reducer.AddRow(source + static_cast<size_t>(y) * static_cast<size_t>(sourceWidth));
  }
  return 1;
}
