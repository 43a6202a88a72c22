// The box filter's footprints, weights and sums, shared by the per-pixel
// definition (SampleBox) and the row-by-row reducer, so that both make every
// rounding in the same place.
#pragma once
#include <cstdint>

#include "images/reduce.h"

// The scale from source to target along one side: divided in double
// precision, kept in single.
float ScaleOf(int32_t source, int32_t target);

// The centre of target pixel i's footprint along one side.
float FootprintCentre(int32_t i, float scale);

// Where the box of boxWidth × boxHeight centred on (x, y) lies on the source.
BoxFootprint FootprintOf(int32_t sourceWidth, int32_t sourceHeight, float x, float y, float boxWidth,
                         float boxHeight);

// How much of a source column (row) a footprint covers: its edge coverage on
// the first and last, 1 between them.
float ColumnWeight(const BoxFootprint& f, int32_t col);
float RowWeight(const BoxFootprint& f, int32_t row);

// One source row under a footprint's columns, each byte weighted by coverage
// and added left to right in double precision; *weight gets the sum of the
// weights. A null row is a row beyond the source's edge.
void SumRow(const uint32_t* row, int32_t rowWidth, const BoxFootprint& f, double sum[4], double* weight);

// The four byte sums divided by their total weight, clamped and truncated.
uint32_t MeanPixel(const double sum[4], double totalWeight);
