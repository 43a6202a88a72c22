// Loading a PNG file straight into the pixels a star shows: rows are
// converted and, for a picture larger than a star, reduced as they are
// decoded, so a large picture never exists at full size in memory.
#pragma once
#include <atomic>
#include <cstdint>

// Set from another thread to stop a load at the next row it decodes: a load
// whose pictures are no longer wanted (the program ends, the folder changed)
// gives up at once rather than after its largest picture.
using StopSignal = std::atomic<bool>;

// Where the finished pixels go: asked for once their size is known.
class PixelTarget {
 public:
  // Memory for width × height alpha-bitmap pixels (4 bytes each, rows without
  // gaps, bottom row first), or null.
  virtual uint32_t* Allocate(int32_t width, int32_t height) = 0;

 protected:
  ~PixelTarget() = default;
};

// The PNG file's picture as alpha-bitmap pixels in target: at its own size
// with keepSize, else reduced to fit 72 × 72 (ReducedStarSize) with the box
// filter of ReduceImage, to the bit. Beside the target, only a few rows and
// one footprint's row sums are held (an interlaced file is decoded whole, up
// to PNG_MAX_INTERLACED_BYTES). 1 on success with the size in *width and
// *height; 0 on any failure (a picture too thin to keep a row included), with
// a one-line reason when reason is given. Memory the target gave stays the
// target's either way. A stop that is set (stop may be null) ends the load
// with 0 at the next row.
int LoadStarPixels(const char* path, int keepSize, PixelTarget* target, int32_t* width, int32_t* height,
                   char* reason, const StopSignal* stop = nullptr);
