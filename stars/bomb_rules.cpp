#include "stars/bomb_rules.h"

int32_t PoofFrameAt(int32_t countdown) {
  if (countdown < 1 || countdown > kPoofTicks) return -1;
  return kPoofTicks - countdown;
}

PixelPoint PoofCorner(PixelPoint corner, int32_t width, int32_t height, int32_t poofWidth,
                      int32_t poofHeight) {
  return PixelPoint{corner.x + (width - poofWidth) / 2, corner.y + (height - poofHeight) / 2};
}
