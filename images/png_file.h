// Decoding one PNG file into plain 8-bit rows.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>

// Pictures wider or taller than this are refused before any pixel memory is
// asked for, so a hostile header cannot make the loader reach for gigabytes.
constexpr uint32_t PNG_MAX_SIDE = 16384;

// An interlaced picture is only whole after its last pass, so a row-by-row
// read decodes it whole first; beyond this many bytes of rows it is refused.
constexpr size_t PNG_MAX_INTERLACED_BYTES = size_t{64} << 20;

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

// Takes a picture's rows as they are decoded.
class PngRowSink {
 public:
  // The size and channels (3 or 4) after the transformations, before any row;
  // 0 refuses the picture and ends the read.
  virtual int Begin(int32_t width, int32_t height, int32_t channels) = 0;
  // The next row, top row first: width × channels bytes as LoadPngFile gives
  // them, valid during the call only. 0 ends the read there (the picture is
  // not wanted any more).
  virtual int Row(const uint8_t* pixels) = 0;

 protected:
  ~PngRowSink() = default;
};

// Decodes a PNG file row by row into sink, holding one row (plus libpng's own
// state) rather than the whole picture. Nonzero when every row was given and
// taken.
int LoadPngRows(const char* path, PngRowSink* sink, char* reason);
