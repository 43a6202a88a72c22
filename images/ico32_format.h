// The "ICO32" resource layout: a one-image icon file whose reserved word holds
// 0x00FF, with 32-bit straight-alpha pixels (B, G, R, A, bottom row first) at a
// fixed offset. The program reads only the pixel block.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

constexpr size_t kIco32PixelOffset = 62;

// Bytes of an ICO32 resource of a w x h picture (w, h at most 32): headers,
// pixels and the monochrome mask rows.
size_t Ico32Size(int width, int height);

// Builds the resource from straight (not premultiplied) RGBA pixels, top row
// first. Empty on a size the layout can't hold.
std::vector<uint8_t> BuildIco32(const uint8_t* rgbaTopDown, int width, int height);
