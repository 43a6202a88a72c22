#include "images/enlarge.h"

#include <cstddef>

namespace {

// Where target index i falls among n source pixels when there are m target
// pixels: the lower source index and the weight of the one after it.
struct Tap {
  int32_t lower;
  int32_t upper;
  float weight;
};

Tap TapFor(int32_t i, int32_t m, int32_t n) {
  float at = (static_cast<float>(i) + 0.5f) * static_cast<float>(n) / static_cast<float>(m) - 0.5f;
  if (at <= 0.0f) return Tap{0, 0, 0.0f};
  if (at >= static_cast<float>(n - 1)) return Tap{n - 1, n - 1, 0.0f};
  int32_t lower = static_cast<int32_t>(at);
  return Tap{lower, lower + 1, at - static_cast<float>(lower)};
}

uint32_t Blend(uint32_t a, uint32_t b, float weight) {
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    float low = static_cast<float>((a >> shift) & 0xFFu);
    float high = static_cast<float>((b >> shift) & 0xFFu);
    out |= static_cast<uint32_t>(low + (high - low) * weight + 0.5f) << shift;
  }
  return out;
}

}  // namespace

int EnlargeImage(uint32_t* target, const uint32_t* source, int32_t targetWidth, int32_t targetHeight,
                 int32_t sourceWidth, int32_t sourceHeight) {
  if (target == nullptr || source == nullptr || sourceWidth <= 0 || sourceHeight <= 0 ||
      targetWidth < sourceWidth || targetHeight < sourceHeight) {
    return 0;
  }
  const auto row = [&](int32_t y) { return source + static_cast<size_t>(y) * static_cast<size_t>(sourceWidth); };
  for (int32_t y = 0; y < targetHeight; ++y) {
    const Tap ty = TapFor(y, targetHeight, sourceHeight);
    uint32_t* out = target + static_cast<size_t>(y) * static_cast<size_t>(targetWidth);
    for (int32_t x = 0; x < targetWidth; ++x) {
      const Tap tx = TapFor(x, targetWidth, sourceWidth);
      uint32_t top = Blend(row(ty.lower)[tx.lower], row(ty.lower)[tx.upper], tx.weight);
      uint32_t bottom = Blend(row(ty.upper)[tx.lower], row(ty.upper)[tx.upper], tx.weight);
      out[x] = Blend(top, bottom, ty.weight);
    }
  }
  return 1;
}
