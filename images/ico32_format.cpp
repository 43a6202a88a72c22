#include "images/ico32_format.h"

namespace {

void PutWord(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  out[at] = static_cast<uint8_t>(value);
  out[at + 1] = static_cast<uint8_t>(value >> 8);
}

void PutDword(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  PutWord(out, at, value & 0xFFFF);
  PutWord(out, at + 2, value >> 16);
}

size_t MaskRowBytes(int width) { return ((static_cast<size_t>(width) + 31) / 32) * 4; }

}  // namespace

size_t Ico32Size(int width, int height) {
  return kIco32PixelOffset + static_cast<size_t>(width) * height * 4 + MaskRowBytes(width) * height;
}

std::vector<uint8_t> BuildIco32(const uint8_t* rgbaTopDown, int width, int height) {
  if (width <= 0 || height <= 0 || width > 32 || height > 32) return {};
  std::vector<uint8_t> out(Ico32Size(width, height), 0);
  const size_t imageBytes = out.size() - 22;

  PutWord(out, 0, 0x00FF);  // where an icon file holds 0
  PutWord(out, 2, 1);       // type: icon
  PutWord(out, 4, 1);       // one image
  out[6] = static_cast<uint8_t>(width);
  out[7] = static_cast<uint8_t>(height);
  PutWord(out, 12, 32);     // bit count (planes and colour count stay 0)
  PutDword(out, 14, static_cast<uint32_t>(imageBytes));
  PutDword(out, 18, 22);    // data offset

  PutDword(out, 22, 40);    // info header size
  PutDword(out, 26, static_cast<uint32_t>(width));
  PutDword(out, 30, static_cast<uint32_t>(height) * 2);  // colour and mask halves
  PutWord(out, 34, 1);      // planes
  PutWord(out, 36, 32);     // bits per pixel; compression and the rest stay 0

  uint8_t* pixels = out.data() + kIco32PixelOffset;
  uint8_t* mask = pixels + static_cast<size_t>(width) * height * 4;
  for (int row = 0; row < height; ++row) {
    const uint8_t* source = rgbaTopDown + static_cast<size_t>(height - 1 - row) * width * 4;
    uint8_t* target = pixels + static_cast<size_t>(row) * width * 4;
    for (int x = 0; x < width; ++x) {
      target[x * 4 + 0] = source[x * 4 + 2];
      target[x * 4 + 1] = source[x * 4 + 1];
      target[x * 4 + 2] = source[x * 4 + 0];
      target[x * 4 + 3] = source[x * 4 + 3];
      // Mask bit 1 marks a transparent pixel, for readers that ignore alpha.
      if (source[x * 4 + 3] == 0) mask[row * MaskRowBytes(width) + x / 8] |= 0x80 >> (x % 8);
    }
  }
  return out;
}
