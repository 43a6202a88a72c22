// A packed picture of the built-in artwork: premultiplied, bottom-up
// B,G,R,A pixel memory, zlib-compressed.
#pragma once
#include <cstddef>
#include <cstdint>

struct ArtBytes {
  const uint8_t* data = nullptr;
  size_t size = 0;
};

struct PicturePixels;
// The bytes inflated into a width × height picture; false when they do not
// inflate to exactly that size (partial pixels would show as garbage).
bool UnpackArt(ArtBytes art, int32_t width, int32_t height, PicturePixels* out);
