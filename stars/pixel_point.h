// A point in screen pixels, as the star field's rules speak of places.
#pragma once
#include <cstdint>

struct PixelPoint {
  int32_t x;
  int32_t y;
};
