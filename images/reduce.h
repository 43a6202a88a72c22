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

// Where a target pixel's box lies on the source: the corner pixels (u, t) and
// (v, b) and how much of each edge column and row the box covers. The columns
// depend on the box's x alone and the rows on its y alone, which lets a
// picture whose rows arrive one by one be reduced with the same weights.
struct BoxFootprint {
  int32_t u, t, v, b;
  float wu, wt, wv, wb;
};

struct ColumnSpan;

// Reduces a picture whose rows arrive one at a time, as a decoder gives them:
// memory row sourceHeight - 1 first (a picture's top row is an alpha bitmap's
// last memory row). The result is ReduceImage's to the bit, while only about
// one footprint's height of row sums is kept, never the whole source.
class RowReducer {
 public:
  RowReducer() = default;
  ~RowReducer();
  RowReducer(const RowReducer&) = delete;
  RowReducer& operator=(const RowReducer&) = delete;

  // Ready to fill targetWidth × targetHeight pixels of target. 0 when the
  // sizes are not a reduction (as ReduceImage) or memory is lacking.
  int Begin(uint32_t* target, int32_t targetWidth, int32_t targetHeight, int32_t sourceWidth,
            int32_t sourceHeight);
  // The next source row, sourceWidth pixels; each target row is written as
  // soon as the rows under it have come.
  void AddRow(const uint32_t* row);
  // 1 once every target row is written.
  int Done() const;

 private:
  int PlanColumns(float sx, float sy);
  void FinishTargetRow(int32_t i);
  void Release();

  BoxFootprint* columns_ = nullptr;
  ColumnSpan* spans_ = nullptr;  // null: each column summed as SampleBox sums it
  double* columnWeights_ = nullptr;
  double* outsideSums_ = nullptr;  // a row beyond the source's edge under each column
  BoxFootprint* rows_ = nullptr;
  double* window_ = nullptr;
  const double** rowSums_ = nullptr;  // a target row's kept row sums, top to bottom
  double* rowWeights_ = nullptr;      // and their weights
  uint32_t* target_ = nullptr;
  int32_t targetWidth_ = 0, targetHeight_ = 0, sourceWidth_ = 0, sourceHeight_ = 0;
  int32_t windowRows_ = 0, nextRow_ = -1, nextTargetRow_ = -1;
};

// Fills targetWidth × targetHeight pixels from the source, rows in the same
// order as the source's. 1 on success; 0 (target untouched) when a size is not
// positive or the target is larger than the source on either side.
int ReduceImage(uint32_t* target, const uint32_t* source, int32_t targetWidth,
                int32_t targetHeight, int32_t sourceWidth, int32_t sourceHeight);
