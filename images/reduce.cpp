#include "images/reduce.h"

#include <algorithm>
#include <new>

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

namespace {

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

// One source row under a footprint's columns, each byte weighted by coverage;
// *weight gets the sum of the weights.
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

// The centre of target pixel i's footprint along one side.
float FootprintCentre(int32_t i, float scale) { return (static_cast<float>(i) + 0.5f) * scale - 0.5f; }

}  // namespace

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

int ReduceImage(uint32_t* target, const uint32_t* source, int32_t targetWidth,
                int32_t targetHeight, int32_t sourceWidth, int32_t sourceHeight) {
  if (target == nullptr || source == nullptr || targetWidth <= 0 || targetHeight <= 0 ||
      targetWidth > sourceWidth || targetHeight > sourceHeight) {
    return 0;
  }
  float sx = static_cast<float>(static_cast<double>(sourceWidth) / targetWidth);
  float sy = static_cast<float>(static_cast<double>(sourceHeight) / targetHeight);
  for (int32_t i = 0; i < targetHeight; ++i) {
    float y = FootprintCentre(i, sy);
    uint32_t* out = target + static_cast<size_t>(i) * static_cast<size_t>(targetWidth);
    for (int32_t j = 0; j < targetWidth; ++j) {
      float x = FootprintCentre(j, sx);
      out[j] = SampleBox(source, sourceWidth, sourceHeight, x, y, sx, sy);
    }
  }
  return 1;
}

RowReducer::~RowReducer() { Release(); }

void RowReducer::Release() {
  delete[] columns_;
  delete[] rows_;
  delete[] columnWeights_;
  delete[] window_;
  columns_ = nullptr;
  rows_ = nullptr;
  columnWeights_ = nullptr;
  window_ = nullptr;
  target_ = nullptr;
}

int RowReducer::Begin(uint32_t* target, int32_t targetWidth, int32_t targetHeight, int32_t sourceWidth,
                      int32_t sourceHeight) {
  Release();
  if (target == nullptr || targetWidth <= 0 || targetHeight <= 0 || targetWidth > sourceWidth ||
      targetHeight > sourceHeight) {
    return 0;
  }
  targetWidth_ = targetWidth;
  targetHeight_ = targetHeight;
  sourceWidth_ = sourceWidth;
  sourceHeight_ = sourceHeight;
  float sx = static_cast<float>(static_cast<double>(sourceWidth) / targetWidth);
  float sy = static_cast<float>(static_cast<double>(sourceHeight) / targetHeight);
  columns_ = new (std::nothrow) BoxFootprint[static_cast<size_t>(targetWidth)];
  rows_ = new (std::nothrow) BoxFootprint[static_cast<size_t>(targetHeight)];
  columnWeights_ = new (std::nothrow) double[static_cast<size_t>(targetWidth)];
  if (columns_ == nullptr || rows_ == nullptr || columnWeights_ == nullptr) {
    Release();
    return 0;
  }
  // The same footprints as ReduceImage's: columns taken along the first
  // target row, rows along the first target column.
  float x0 = FootprintCentre(0, sx), y0 = FootprintCentre(0, sy);
  for (int32_t j = 0; j < targetWidth; ++j) {
    columns_[j] = FootprintOf(sourceWidth, sourceHeight, FootprintCentre(j, sx), y0, sx, sy);
    double outside[4];
    SumRow(nullptr, 0, columns_[j], outside, &columnWeights_[j]);
  }
  int32_t span = 1;
  for (int32_t i = 0; i < targetHeight; ++i) {
    rows_[i] = FootprintOf(sourceWidth, sourceHeight, x0, FootprintCentre(i, sy), sx, sy);
    span = std::max(span, rows_[i].b - rows_[i].t + 1);
  }
  // The row sums of the rows that a target row still waits for: one footprint
  // high, however tall the source.
  windowRows_ = span;
  window_ = new (std::nothrow) double[static_cast<size_t>(span) * static_cast<size_t>(targetWidth) * 4];
  if (window_ == nullptr) {
    Release();
    return 0;
  }
  target_ = target;
  nextRow_ = sourceHeight - 1;
  nextTargetRow_ = targetHeight - 1;
  return 1;
}

void RowReducer::AddRow(const uint32_t* row) {
  if (target_ == nullptr || nextRow_ < 0 || row == nullptr) return;
  int32_t r = nextRow_--;
  double* sums = window_ + static_cast<size_t>(r % windowRows_) * static_cast<size_t>(targetWidth_) * 4;
  for (int32_t j = 0; j < targetWidth_; ++j) {
    double weight;
    SumRow(row, sourceWidth_, columns_[j], sums + static_cast<size_t>(j) * 4, &weight);
  }
  // A target row is done once its top row came: everything below it came first.
  while (nextTargetRow_ >= 0 && rows_[nextTargetRow_].t >= r) {
    FinishTargetRow(nextTargetRow_--);
  }
}

void RowReducer::FinishTargetRow(int32_t i) {
  const BoxFootprint& fy = rows_[i];
  uint32_t* out = target_ + static_cast<size_t>(i) * static_cast<size_t>(targetWidth_);
  for (int32_t j = 0; j < targetWidth_; ++j) {
    // Rows added top to bottom, as SampleBox adds them, so every rounding
    // happens as it does there.
    double sum[4] = {0, 0, 0, 0};
    double totalWeight = 0;
    for (int32_t row = fy.t; row <= fy.b; ++row) {
      float wy = RowWeight(fy, row);
      if (wy == 0.0f) continue;
      double rowSum[4];
      double rowWeight = columnWeights_[j];
      if (row >= 0 && row < sourceHeight_) {
        const double* kept =
            window_ + (static_cast<size_t>(row % windowRows_) * static_cast<size_t>(targetWidth_) +
                       static_cast<size_t>(j)) * 4;
        for (int k = 0; k < 4; ++k) rowSum[k] = kept[k];
      } else {
        SumRow(nullptr, 0, columns_[j], rowSum, &rowWeight);
      }
      for (int k = 0; k < 4; ++k) sum[k] += rowSum[k] * wy;
      totalWeight += rowWeight * wy;
    }
    out[j] = MeanPixel(sum, totalWeight);
  }
}

int RowReducer::Done() const { return target_ != nullptr && nextTargetRow_ < 0; }
