// A picture's shape as runs of pixels, row by row: the pixels whose alpha
// reaches `least` (premultiplied A,R,G,B words, top row first). Rect is any
// {x, y, width, height} record, such as the X server's rectangle.
#pragma once
#include <cstdint>
#include <vector>

template <class Rect>
void ShapeRuns(const uint32_t* pixels, int32_t stride, int32_t w, int32_t h, uint32_t least,
               std::vector<Rect>* runs) {
  runs->clear();
  for (int32_t y = 0; y < h; ++y) {
    const uint32_t* row = pixels + static_cast<size_t>(y) * stride;
    for (int32_t x = 0; x < w;) {
      while (x < w && (row[x] >> 24) < least) ++x;
      int32_t start = x;
      while (x < w && (row[x] >> 24) >= least) ++x;
      if (x > start) runs->push_back(Rect{static_cast<decltype(Rect::x)>(start), static_cast<decltype(Rect::y)>(y),
                                          static_cast<decltype(Rect::width)>(x - start), 1});
    }
  }
}
