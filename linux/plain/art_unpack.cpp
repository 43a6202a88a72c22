#include <zlib.h>

#include <vector>

#include "images/alpha_pixels.h"
#include "linux/plain/art_bytes.h"
#include "linux/plain/picture_pixels.h"

bool UnpackArt(ArtBytes art, int32_t width, int32_t height, PicturePixels* out) {
  size_t expected = AlphaPixelBytes(width, height);
  if (art.data == nullptr || expected == 0) return false;
  std::vector<uint8_t> bits(expected);
  uLongf produced = static_cast<uLongf>(expected);
  if (uncompress(bits.data(), &produced, art.data, static_cast<uLong>(art.size)) != Z_OK || produced != expected) {
    return false;
  }
  return PicturePixelsFromAlphaBitmap(bits.data(), expected, width, height, out);
}
