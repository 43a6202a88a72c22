// How a picture is cut into frames: an animation's frames side by side or
// one above the other, or one whole frame.
#pragma once
#include <cstdint>

struct FrameLayout {
  int32_t frameWidth;
  int32_t frameHeight;
  int32_t frameCount;
  int32_t framesSideBySide;  // 1: frames left to right; 0: top to bottom
};
