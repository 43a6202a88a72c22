#include "stars/group_rules.h"

#include <cstdlib>

bool CentresJoin(int64_t dx, int64_t dy, int32_t frameWidth, int32_t frameHeight) {
  return std::llabs(dx) < frameWidth / 3 && std::llabs(dy) < frameHeight / 3;
}

DigitSize DigitSizeFor(int32_t frameHeight, int32_t dpi) {
  if (frameHeight >= ScaleToDpi(64, dpi)) return DIGIT_SIZE_LARGE;
  if (frameHeight >= ScaleToDpi(48, dpi)) return DIGIT_SIZE_MEDIUM;
  return DIGIT_SIZE_SMALL;
}

DigitLayout LayoutDigits(int32_t n, int32_t width, int32_t height, int32_t cellWidth,
                         int32_t cellHeight) {
  DigitLayout layout{};
  if (n < 0 || cellWidth <= 0 || cellHeight <= 0) return layout;
  int32_t step = width / 4 < cellWidth ? width / 4 : cellWidth;
  int32_t x = width - cellWidth;
  int32_t y = height - cellHeight;
  do {
    layout.places[layout.count++] = DigitPlace{n % 10, x, y};
    x -= step - 1;
    n /= 10;
  } while (n > 0 && layout.count < kMaxDigits);
  return layout;
}

ChainStep NextChainValue(int32_t chainValue) {
  if (chainValue > 999) return ChainStep{1, true};
  return ChainStep{chainValue * 2, false};
}
