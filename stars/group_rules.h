// The arithmetic of connected stars and counts: when a dropped star joins
// another, where the digits of a count stand on a star, and the chase game's
// chain value.
#pragma once
#include <cstdint>

#include "base/dpi_scale.h"

// Whether two stars of one image join when their centres lie dx, dy apart
// (64-bit, so that screen points far apart cannot overflow): both distances
// strictly below a third of the frame size (truncated).
bool CentresJoin(int64_t dx, int64_t dy, int32_t frameWidth, int32_t frameHeight);

// The three sizes of digit strips, by the star's frame height (the bounds
// and cells as at 96 DPI; at another DPI both are multiplied out to it).
enum DigitSize : int {
  DIGIT_SIZE_LARGE = 0,   // 64 and more: 24 x 32 cells
  DIGIT_SIZE_MEDIUM = 1,  // 48 to 63: 18 x 24 cells
  DIGIT_SIZE_SMALL = 2,   // below 48: 12 x 16 cells
};
DigitSize DigitSizeFor(int32_t frameHeight, int32_t dpi = kBaseDpi);

struct DigitPlace {
  int32_t digit;  // 0..9, the cell of the strip
  int32_t x;      // where the cell's top-left corner goes on the star
  int32_t y;
};

constexpr int kMaxDigits = 10;  // the decimal digits of the largest int32_t

struct DigitLayout {
  int32_t count;
  DigitPlace places[kMaxDigits];  // drawing order: the last digit first
};

// Places the decimal digits of n (0 or more; nothing for a negative n) on a
// width x height picture with cells of cellWidth x cellHeight: at the bottom
// edge, the last digit in the corner, each earlier one step - 1 pixels
// further left, step being the smaller of width / 4 and the cell width, so
// that digits overlap on a narrow star. No places without a cell size.
DigitLayout LayoutDigits(int32_t n, int32_t width, int32_t height, int32_t cellWidth,
                         int32_t cellHeight);

// The chain value after a grab of a known star: doubled, or back to 1 when it
// was above 999, and then every grabbed star goes off.
struct ChainStep {
  int32_t value;
  bool setsOff;
};
ChainStep NextChainValue(int32_t chainValue);
