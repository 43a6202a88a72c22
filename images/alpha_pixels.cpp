#include "images/alpha_pixels.h"

#include <cstring>

size_t AlphaPixelBytes(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return 0;
  size_t w = static_cast<size_t>(width);
  size_t h = static_cast<size_t>(height);
  if (w > SIZE_MAX / 4 / h) return 0;
  return w * h * 4;
}

namespace {

void ConvertPremultiplied(uint8_t* out, const uint8_t* in, size_t count) {
  for (size_t i = 0; i < count; ++i, in += 4, out += 4) {
    unsigned a = in[3];
    // c × a / 255 rounded down; the compiler turns the constant division
    // into a multiplication.
    out[0] = static_cast<uint8_t>(in[2] * a / 255u);
    out[1] = static_cast<uint8_t>(in[1] * a / 255u);
    out[2] = static_cast<uint8_t>(in[0] * a / 255u);
    out[3] = static_cast<uint8_t>(a);
  }
}

void ConvertColourKeyed(uint8_t* out, const uint8_t* in, size_t count, const uint8_t key[3]) {
  for (size_t i = 0; i < count; ++i, in += 3, out += 4) {
    if (in[0] == key[0] && in[1] == key[1] && in[2] == key[2]) {
      memset(out, 0, 4);
    } else {
      out[0] = in[2];
      out[1] = in[1];
      out[2] = in[0];
      out[3] = 255;
    }
  }
}

}  // namespace

void ConvertRowToAlphaPixels(uint8_t* target, const uint8_t* decoded, int32_t width, int32_t channels,
                             const uint8_t key[3]) {
  size_t w = width > 0 ? static_cast<size_t>(width) : 0;
  if (channels == 4) {
    ConvertPremultiplied(target, decoded, w);
  } else if (channels == 3) {
    ConvertColourKeyed(target, decoded, w, key);
  }
}

int ConvertToAlphaPixels(uint8_t* target, const uint8_t* decoded, int32_t width, int32_t height,
                         int32_t channels) {
  if (target == nullptr || decoded == nullptr || AlphaPixelBytes(width, height) == 0) return 0;
  if (channels != 3 && channels != 4) return 0;
  size_t w = static_cast<size_t>(width);
  size_t inRow = w * static_cast<size_t>(channels);
  size_t outRow = w * 4;
  const uint8_t key[3] = {decoded[0], decoded[1], decoded[2]};
  for (int32_t r = 0; r < height; ++r) {
    // The picture's top row ends up last in memory, so the bitmap stands upright.
    ConvertRowToAlphaPixels(target + static_cast<size_t>(height - 1 - r) * outRow,
                            decoded + static_cast<size_t>(r) * inRow, width, channels, key);
  }
  return 1;
}
