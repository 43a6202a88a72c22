// A screen point travels in a message's lParam as x in the low and y in the
// high 16 bits, each cut to its low 16 bits (two's complement).
#pragma once
#include <cstdint>

struct ScreenPoint {
  int32_t x;
  int32_t y;
};

constexpr uint32_t PackPoint(int32_t x, int32_t y) {
  return (static_cast<uint32_t>(x) & 0xFFFFu) | ((static_cast<uint32_t>(y) & 0xFFFFu) << 16);
}

// Unpacks with sign extension, so that a point on a monitor left of or above
// the primary one (negative coordinates) comes back where it was.
constexpr ScreenPoint UnpackPoint(uint64_t lParam) {
  return ScreenPoint{static_cast<int16_t>(static_cast<uint16_t>(lParam & 0xFFFFu)),
                     static_cast<int16_t>(static_cast<uint16_t>((lParam >> 16) & 0xFFFFu))};
}
