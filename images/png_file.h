// Decoding one PNG file into plain 8-bit rows.
#pragma once
#include <cstdint>
#include <cstdio>

// Pictures wider or taller than this are refused before any pixel memory is
// asked for, so a hostile header cannot make the loader reach for gigabytes.
constexpr uint32_t PNG_MAX_SIDE = 16384;

// Reads a PNG file into tightly packed rows, top row first: R,G,B for 3
// channels, R,G,B,A (alpha not premultiplied) for 4. Nonzero on success, and
// *pixels then belongs to the caller, who releases it with free(). On failure
// *pixels is null and width, height and channels are 0.
int LoadPngFile(const char* path, uint8_t** pixels, int32_t* width, int32_t* height,
                int32_t* channels);

// The same, with a one-line reason (at most 259 characters) written to reason
// on failure; reason may be null.
int LoadPngFileWithReason(const char* path, uint8_t** pixels, int32_t* width, int32_t* height,
                          int32_t* channels, char* reason);

// The same for a stream positioned at the PNG signature; the stream stays open.
int LoadPngStream(FILE* file, uint8_t** pixels, int32_t* width, int32_t* height,
                  int32_t* channels, char* reason);
