// The two inner loops of the row-by-row box filter: a source row summed under
// every target column, and the kept row sums weighed into a target row. Both
// give SumRow's and SampleBox's doubles to the bit.
#pragma once
#include <cstdint>

#include "images/reduce.h"

// One target column's source columns with a weight: the whole ones from
// wholeFirst up to wholeEnd (weight 1) and at most two partly covered edges.
// SumRow adds the same products left to right in double precision; with
// edge weights that are multiples of 2^-24 and fewer than 2^20 columns,
// every partial sum there is exact (below 2^28, in steps of 2^-24), so adding
// the whole columns as integers first gives the very same double.
struct ColumnSpan {
  int32_t wholeFirst, wholeEnd;
  int32_t edgeCount;
  int32_t edge[2];
  double edgeWeight[2];
};

// The span of a footprint's columns; 0 when the sum would not be exact that
// way or a weighted column lies beyond the source.
int SpanOfFootprint(const BoxFootprint& f, int32_t sourceWidth, ColumnSpan* span);

// One source row summed under count target columns: B,G,R,A sums of column j
// at sums[4j].
void SumRowUnderSpans(const uint32_t* row, const ColumnSpan* spans, int32_t count, double* sums);

// One target row of width pixels: for each column j, rowSums[p][4j..4j+3]
// times rowWeights[p] added over the rows p in order, with the total weight
// columnWeights[j] × rowWeights[p], then MeanPixel.
void MeanOfRows(const double* const* rowSums, const double* rowWeights, int32_t rows,
                const double* columnWeights, int32_t width, uint32_t* out);
