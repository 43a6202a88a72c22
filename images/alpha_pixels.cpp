#include "images/alpha_pixels.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

size_t AlphaPixelBytes(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return 0;
  size_t w = static_cast<size_t>(width);
  size_t h = static_cast<size_t>(height);
  if (w > SIZE_MAX / 4 / h) return 0;
  return w * h * 4;
}

namespace {

// x / 255 rounded down for any 16-bit x, by a multiplication: the same as
// the integer division, without dividing.
inline unsigned DivideBy255(unsigned x) { return (x * 0x8081u) >> 23; }

#if defined(__SSE2__)
// Two pixels widened to 16 bits a byte (R,G,B,A each): B,G,R premultiplied
// by A, then A itself (A × 255 / 255), in 16-bit lanes again.
inline __m128i PremultiplyTwo(__m128i rgba) {
  const __m128i opaque = _mm_set_epi16(255, 0, 0, 0, 255, 0, 0, 0);
  __m128i bgr = _mm_shufflehi_epi16(_mm_shufflelo_epi16(rgba, _MM_SHUFFLE(3, 0, 1, 2)), _MM_SHUFFLE(3, 0, 1, 2));
  __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(rgba, _MM_SHUFFLE(3, 3, 3, 3)), _MM_SHUFFLE(3, 3, 3, 3));
  // The product of two bytes fits a 16-bit lane, and DivideBy255 needs only
  // the high half of its multiplication.
  __m128i product = _mm_mullo_epi16(_mm_or_si128(bgr, opaque), alpha);
  return _mm_srli_epi16(_mm_mulhi_epu16(product, _mm_set1_epi16(static_cast<short>(0x8081))), 7);
}
#endif

void ConvertPremultiplied(uint8_t* out, const uint8_t* in, size_t count) {
  size_t i = 0;
#if defined(__SSE2__)
  // Four pixels at a time; the few left at the row's end go one by one.
  const __m128i zero = _mm_setzero_si128();
  for (; i + 4 <= count; i += 4, in += 16, out += 16) {
    __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
    __m128i low = PremultiplyTwo(_mm_unpacklo_epi8(pixels, zero));
    __m128i high = PremultiplyTwo(_mm_unpackhi_epi8(pixels, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(low, high));
  }
#endif
  for (; i < count; ++i, in += 4, out += 4) {
    unsigned a = in[3];
    out[0] = static_cast<uint8_t>(DivideBy255(in[2] * a));
    out[1] = static_cast<uint8_t>(DivideBy255(in[1] * a));
    out[2] = static_cast<uint8_t>(DivideBy255(in[0] * a));
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
