// libFuzzer target: any bytes through the PNG loader, then the conversion into
// alpha-bitmap memory and a reduction, as a user's picture folder would send them.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "images/alpha_pixels.h"
#include "images/png_file.h"
#include "images/reduce.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (file == nullptr) return 0;
  uint8_t* decoded = nullptr;
  int32_t width = 0, height = 0, channels = 0;
  char reason[260];
  int ok = LoadPngStream(file, &decoded, &width, &height, &channels, reason);
  fclose(file);
  if (!ok) {
    if (decoded != nullptr) abort();  // a failure must hand back nothing
    return 0;
  }
  // Pictures the size limit lets through can still be huge; converting the
  // largest would only measure memory.
  if (static_cast<uint64_t>(width) * static_cast<uint64_t>(height) <= 2048u * 2048u) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    if (!ConvertToAlphaPixels(reinterpret_cast<uint8_t*>(pixels.data()), decoded, width, height,
                              channels)) {
      abort();  // the loader promised 3 or 4 channels
    }
    int32_t tw = width > 72 ? 72 : width, th = height > 72 ? 72 : height;
    std::vector<uint32_t> small(static_cast<size_t>(tw) * static_cast<size_t>(th));
    if (!ReduceImage(small.data(), pixels.data(), tw, th, width, height)) abort();
  }
  free(decoded);
  return 0;
}
