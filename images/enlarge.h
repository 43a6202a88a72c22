// Enlarging alpha-bitmap pixels (premultiplied B,G,R,A in one 32-bit value,
// as reduce.h) by bilinear interpolation: for built-in artwork whose only
// source is smaller than a scaled display wants. Premultiplied colour lets
// each byte be interpolated alone without dark fringes at transparent edges.
#pragma once
#include <cstdint>

// Fills targetWidth × targetHeight pixels from the source, rows in the same
// order as the source's; pixel centres are matched, and points beyond the
// outer centres take the edge pixel. 1 on success; 0 (target untouched) when a
// size is not positive or the target is smaller than the source on either side.
int EnlargeImage(uint32_t* target, const uint32_t* source, int32_t targetWidth, int32_t targetHeight,
                 int32_t sourceWidth, int32_t sourceHeight);
