#include "images/box_sums.h"

#include <algorithm>
#include <cmath>

#include "images/box_weights.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr int32_t kMostExactColumns = 1 << 20;

int IsMultipleOf2ToMinus24(float weight) {
  double scaled = std::ldexp(static_cast<double>(weight), 24);
  return scaled == std::floor(scaled);
}

}  // namespace

int SpanOfFootprint(const BoxFootprint& f, int32_t sourceWidth, ColumnSpan* span) {
  *span = ColumnSpan{0, 0, 0, {0, 0}, {0, 0}};
  if (f.v - f.u >= kMostExactColumns) return 0;
  int32_t wholeCount = 0;
  for (int32_t col = f.u; col <= f.v; ++col) {
    float w = ColumnWeight(f, col);
    if (w == 0.0f) continue;
    if (col < 0 || col >= sourceWidth) return 0;
    if (w == 1.0f && (wholeCount == 0 || span->wholeEnd == col)) {
      if (wholeCount++ == 0) span->wholeFirst = col;
      span->wholeEnd = col + 1;
    } else {
      if (span->edgeCount == 2 || !IsMultipleOf2ToMinus24(w)) return 0;
      span->edge[span->edgeCount] = col;
      span->edgeWeight[span->edgeCount++] = w;
    }
  }
  return 1;
}

#if defined(__SSE2__)

namespace {

// A pixel's four bytes as four 32-bit lanes.
inline __m128i Widen(uint32_t pixel) {
  const __m128i zero = _mm_setzero_si128();
  return _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(pixel)), zero), zero);
}

// The four bytes of every pixel from first up to end added up, each byte
// position in its own lane.
__m128i AddWholePixels(const uint32_t* row, int32_t first, int32_t end) {
  const __m128i zero = _mm_setzero_si128();
  __m128i total = zero;
  int32_t col = first;
  // Four pixels a step into 16-bit lanes, each lane taking two bytes a step:
  // widened after 128 steps at most, so that no lane can overflow.
  while (end - col >= 4) {
    __m128i lanes = zero;
    int32_t stop = col + 4 * std::min<int32_t>((end - col) / 4, 128);
    for (; col < stop; col += 4) {
      __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + col));
      lanes = _mm_add_epi16(lanes, _mm_add_epi16(_mm_unpacklo_epi8(pixels, zero), _mm_unpackhi_epi8(pixels, zero)));
    }
    total = _mm_add_epi32(total, _mm_add_epi32(_mm_unpacklo_epi16(lanes, zero), _mm_unpackhi_epi16(lanes, zero)));
  }
  for (; col < end; ++col) total = _mm_add_epi32(total, Widen(row[col]));
  return total;
}

// Four 32-bit lanes as two pairs of doubles.
inline void ToDoubles(__m128i lanes, __m128d* low, __m128d* high) {
  *low = _mm_cvtepi32_pd(lanes);
  *high = _mm_cvtepi32_pd(_mm_shuffle_epi32(lanes, _MM_SHUFFLE(3, 2, 3, 2)));
}

// MeanPixel of the sums B,G (low) and R,A (high).
inline uint32_t MeanOfLanes(__m128d low, __m128d high, double totalWeight) {
  if (totalWeight <= 0) return 0;
  const __m128d total = _mm_set1_pd(totalWeight), forgiven = _mm_set1_pd(1e-9);
  const __m128d floor = _mm_setzero_pd(), ceiling = _mm_set1_pd(255.0);
  low = _mm_min_pd(_mm_max_pd(_mm_add_pd(_mm_div_pd(low, total), forgiven), floor), ceiling);
  high = _mm_min_pd(_mm_max_pd(_mm_add_pd(_mm_div_pd(high, total), forgiven), floor), ceiling);
  __m128i bytes = _mm_unpacklo_epi64(_mm_cvttpd_epi32(low), _mm_cvttpd_epi32(high));
  __m128i words = _mm_packs_epi32(bytes, bytes);
  bytes = _mm_packus_epi16(words, words);
  return static_cast<uint32_t>(_mm_cvtsi128_si32(bytes));
}

}  // namespace

void SumRowUnderSpans(const uint32_t* row, const ColumnSpan* spans, int32_t count, double* sums) {
  for (int32_t j = 0; j < count; ++j, sums += 4) {
    const ColumnSpan& s = spans[j];
    __m128d low, high;
    ToDoubles(AddWholePixels(row, s.wholeFirst, s.wholeEnd), &low, &high);
    for (int32_t e = 0; e < s.edgeCount; ++e) {
      __m128d edgeLow, edgeHigh, weight = _mm_set1_pd(s.edgeWeight[e]);
      ToDoubles(Widen(row[s.edge[e]]), &edgeLow, &edgeHigh);
      low = _mm_add_pd(low, _mm_mul_pd(edgeLow, weight));
      high = _mm_add_pd(high, _mm_mul_pd(edgeHigh, weight));
    }
    _mm_storeu_pd(sums, low);
    _mm_storeu_pd(sums + 2, high);
  }
}

void MeanOfRows(const double* const* rowSums, const double* rowWeights, int32_t rows,
                const double* columnWeights, int32_t width, uint32_t* out) {
  for (int32_t j = 0; j < width; ++j) {
    __m128d low = _mm_setzero_pd(), high = _mm_setzero_pd();
    double totalWeight = 0;
    for (int32_t p = 0; p < rows; ++p) {
      const double* kept = rowSums[p] + static_cast<size_t>(j) * 4;
      __m128d weight = _mm_set1_pd(rowWeights[p]);
      low = _mm_add_pd(low, _mm_mul_pd(_mm_loadu_pd(kept), weight));
      high = _mm_add_pd(high, _mm_mul_pd(_mm_loadu_pd(kept + 2), weight));
      totalWeight += columnWeights[j] * rowWeights[p];
    }
    out[j] = MeanOfLanes(low, high, totalWeight);
  }
}

#else  // the same sums, one byte position after another

void SumRowUnderSpans(const uint32_t* row, const ColumnSpan* spans, int32_t count, double* sums) {
  for (int32_t j = 0; j < count; ++j, sums += 4) {
    const ColumnSpan& s = spans[j];
    uint32_t whole[4] = {0, 0, 0, 0};
    for (int32_t col = s.wholeFirst; col < s.wholeEnd; ++col) {
      for (int k = 0; k < 4; ++k) whole[k] += (row[col] >> (8 * k)) & 0xFF;
    }
    for (int k = 0; k < 4; ++k) sums[k] = whole[k];
    for (int32_t e = 0; e < s.edgeCount; ++e) {
      for (int k = 0; k < 4; ++k) sums[k] += ((row[s.edge[e]] >> (8 * k)) & 0xFF) * s.edgeWeight[e];
    }
  }
}

void MeanOfRows(const double* const* rowSums, const double* rowWeights, int32_t rows,
                const double* columnWeights, int32_t width, uint32_t* out) {
  for (int32_t j = 0; j < width; ++j) {
    double sum[4] = {0, 0, 0, 0};
    double totalWeight = 0;
    for (int32_t p = 0; p < rows; ++p) {
      const double* kept = rowSums[p] + static_cast<size_t>(j) * 4;
      for (int k = 0; k < 4; ++k) sum[k] += kept[k] * rowWeights[p];
      totalWeight += columnWeights[j] * rowWeights[p];
    }
    out[j] = MeanPixel(sum, totalWeight);
  }
}

#endif
