// Turning decoded PNG rows into alpha-bitmap pixel memory: premultiplied
// B,G,R,A, bottom row first, rows without gaps.
#pragma once
#include <cstddef>
#include <cstdint>

// Bytes of alpha-bitmap memory for a picture (4 a pixel); 0 when a side is not
// positive or the product does not fit.
size_t AlphaPixelBytes(int32_t width, int32_t height);

// Converts rows decoded by LoadPngFile (top row first; R,G,B or R,G,B,A) into
// target, which holds AlphaPixelBytes(width, height) bytes. With 4 channels the
// colour is premultiplied, rounding down; with 3 the top-left pixel's colour
// becomes transparent and every other pixel opaque. 1 on success, 0 for any
// other channel count or size.
int ConvertToAlphaPixels(uint8_t* target, const uint8_t* decoded, int32_t width, int32_t height,
                         int32_t channels);

// One decoded row (width pixels of 3 or 4 channels) into width alpha-bitmap
// pixels, by the same rules; key is the picture's top-left colour (used with 3
// channels).
void ConvertRowToAlphaPixels(uint8_t* target, const uint8_t* decoded, int32_t width, int32_t channels,
                             const uint8_t key[3]);
