#include <algorithm>
#include <new>

#include "images/box_sums.h"
#include "images/box_weights.h"
#include "images/reduce.h"

RowReducer::~RowReducer() { Release(); }

void RowReducer::Release() {
  delete[] columns_;
  delete[] spans_;
  delete[] columnWeights_;
  delete[] outsideSums_;
  delete[] rows_;
  delete[] window_;
  delete[] rowSums_;
  delete[] rowWeights_;
  columns_ = nullptr;
  spans_ = nullptr;
  columnWeights_ = nullptr;
  outsideSums_ = nullptr;
  rows_ = nullptr;
  window_ = nullptr;
  rowSums_ = nullptr;
  rowWeights_ = nullptr;
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
  float sx = ScaleOf(sourceWidth, targetWidth);
  float sy = ScaleOf(sourceHeight, targetHeight);
  rows_ = new (std::nothrow) BoxFootprint[static_cast<size_t>(targetHeight)];
  if (rows_ == nullptr || !PlanColumns(sx, sy)) {
    Release();
    return 0;
  }
  // The same footprints as SampleBox's: rows taken along the first target
  // column, as the columns are along the first target row.
  float x0 = FootprintCentre(0, sx);
  int32_t span = 1;
  for (int32_t i = 0; i < targetHeight; ++i) {
    rows_[i] = FootprintOf(sourceWidth, sourceHeight, x0, FootprintCentre(i, sy), sx, sy);
    span = std::max(span, rows_[i].b - rows_[i].t + 1);
  }
  // The row sums of the rows that a target row still waits for: one footprint
  // high, however tall the source.
  windowRows_ = span;
  window_ = new (std::nothrow) double[static_cast<size_t>(span) * static_cast<size_t>(targetWidth) * 4];
  rowSums_ = new (std::nothrow) const double*[static_cast<size_t>(span)];
  rowWeights_ = new (std::nothrow) double[static_cast<size_t>(span)];
  if (window_ == nullptr || rowSums_ == nullptr || rowWeights_ == nullptr) {
    Release();
    return 0;
  }
  target_ = target;
  nextRow_ = sourceHeight - 1;
  nextTargetRow_ = targetHeight - 1;
  return 1;
}

// The column footprints with their total weights and what a row beyond the
// source gives under them; and, where every column's sum can be made
// exactly from whole pixels and edges, their spans.
int RowReducer::PlanColumns(float sx, float sy) {
  size_t count = static_cast<size_t>(targetWidth_);
  columns_ = new (std::nothrow) BoxFootprint[count];
  columnWeights_ = new (std::nothrow) double[count];
  outsideSums_ = new (std::nothrow) double[count * 4];
  spans_ = new (std::nothrow) ColumnSpan[count];
  if (columns_ == nullptr || columnWeights_ == nullptr || outsideSums_ == nullptr || spans_ == nullptr) return 0;
  float y0 = FootprintCentre(0, sy);
  int exact = 1;
  for (int32_t j = 0; j < targetWidth_; ++j) {
    columns_[j] = FootprintOf(sourceWidth_, sourceHeight_, FootprintCentre(j, sx), y0, sx, sy);
    SumRow(nullptr, 0, columns_[j], outsideSums_ + static_cast<size_t>(j) * 4, &columnWeights_[j]);
    exact = exact && SpanOfFootprint(columns_[j], sourceWidth_, &spans_[j]);
  }
  if (!exact) {
    delete[] spans_;
    spans_ = nullptr;
  }
  return 1;
}

void RowReducer::AddRow(const uint32_t* row) {
  if (target_ == nullptr || nextRow_ < 0 || row == nullptr) return;
  int32_t r = nextRow_--;
  double* sums = window_ + static_cast<size_t>(r % windowRows_) * static_cast<size_t>(targetWidth_) * 4;
  if (spans_ != nullptr) {
    SumRowUnderSpans(row, spans_, targetWidth_, sums);
  } else {
    for (int32_t j = 0; j < targetWidth_; ++j) {
      double weight;
      SumRow(row, sourceWidth_, columns_[j], sums + static_cast<size_t>(j) * 4, &weight);
    }
  }
  // A target row is done once its top row came: everything below it came first.
  while (nextTargetRow_ >= 0 && rows_[nextTargetRow_].t >= r) {
    FinishTargetRow(nextTargetRow_--);
  }
}

void RowReducer::FinishTargetRow(int32_t i) {
  // The rows under the target row, top to bottom as SampleBox adds them, so
  // every rounding happens as it does there.
  const BoxFootprint& fy = rows_[i];
  int32_t count = 0;
  for (int32_t row = fy.t; row <= fy.b; ++row) {
    float wy = RowWeight(fy, row);
    if (wy == 0.0f) continue;
    rowSums_[count] = row >= 0 && row < sourceHeight_
                          ? window_ + static_cast<size_t>(row % windowRows_) * static_cast<size_t>(targetWidth_) * 4
                          : outsideSums_;
    rowWeights_[count++] = wy;
  }
  MeanOfRows(rowSums_, rowWeights_, count, columnWeights_,
             targetWidth_, target_ + static_cast<size_t>(i) * static_cast<size_t>(targetWidth_));
}

int RowReducer::Done() const { return target_ != nullptr && nextTargetRow_ < 0; }
