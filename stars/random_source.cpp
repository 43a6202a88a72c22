#include "stars/random_source.h"

uint32_t randomState = 1;

void SeedRandomSource(uint32_t seed) { randomState = seed; }

int32_t DrawRandom() {
  randomState = randomState * 214013u + 2531011u;  // wraps modulo 2^32
  return static_cast<int32_t>((randomState >> 16) & 0x7FFFu);
}

int32_t DrawImageIndex(int32_t imageCount) {
  if (imageCount <= 0) return -1;
  for (;;) {
    int32_t r = DrawRandom();
    // The product exactly, then the double constant: the rounding of this
    // order decides which draws land on the upper edge.
    double scaled = static_cast<double>(r) * imageCount;
    int32_t index = static_cast<int32_t>(scaled * (1.0 / 32767.0));
    if (index != imageCount) return index;
  }
}
