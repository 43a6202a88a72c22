// Alpha bitmaps: 32-bit DIB sections, premultiplied B,G,R,A, bottom-up rows,
// as UpdateLayeredWindow with per-pixel alpha wants them.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "base/owned_handles.h"
#include "images/star_pixels.h"

// Fills header for a width × height alpha bitmap and creates it (all pixels
// zero). Holds nothing when the system refuses.
UniqueBitmap CreateBitmapV5(BITMAPV5HEADER* header, int32_t width, int32_t height);

// The PNG file's picture as a new alpha bitmap, upright; nothing on any failure.
UniqueBitmap PrepairAlphaBitmap(const char* path);

// The PNG file's picture as a star shows it: at its own size with keepSize,
// else reduced to fit 72 x 72 while it is decoded, so that a large picture
// never costs more than a few of its rows beside the small bitmap. Nothing on
// any failure, a picture too thin to keep a row at 72 pixels included, and
// once stop (when given) is set.
UniqueBitmap PrepairStarBitmap(const char* path, int keepSize, const StopSignal* stop = nullptr);

// A new width × height alpha bitmap whose pixel memory starts with a copy of
// data (already premultiplied, bottom row first); the rest stays transparent.
// A length beyond the bitmap's size is cut to it.
UniqueBitmap PrepairAlphaBitmapFromBitData(const void* data, size_t length, int32_t width,
                                           int32_t height);

// A new alpha bitmap of the target size, reduced from the source pixels (which
// stay their owner's). Nothing when the bitmap cannot be made or the sizes are
// not a reduction.
UniqueBitmap GetReducedBitmap(int32_t targetWidth, int32_t targetHeight, int32_t sourceWidth,
                              int32_t sourceHeight, const void* sourcePixels);

// A new alpha bitmap of the target size from the source pixels: reduced when
// the target is no larger on either side, else enlarged (for built-in art
// whose source is smaller than a scaled display wants). Nothing when the
// bitmap cannot be made or one side grows while the other shrinks.
UniqueBitmap GetResizedBitmap(int32_t targetWidth, int32_t targetHeight, int32_t sourceWidth,
                              int32_t sourceHeight, const void* sourcePixels);

// The pixel memory of a DIB section, or null.
void* AlphaBitmapBits(HBITMAP bitmap);
