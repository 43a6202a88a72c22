// The arithmetic of a bombed star's poof: which frame a countdown shows and
// where the poof picture stands so that it is centred on the star.
#pragma once
#include <cstdint>

#include "stars/pixel_point.h"

// Ticks of the poof: a star armed with this countdown shows its first frame
// at the next tick and is gone one tick after its last frame.
constexpr int32_t kPoofTicks = 5;

// The poof frame shown while the countdown is n: 5 - n for 1..5, -1 for any
// other countdown (armed and waiting, or at its end).
int32_t PoofFrameAt(int32_t countdown);

// The corner of a poof of poofWidth x poofHeight centred on a picture of
// width x height whose corner is at `corner` (divisions truncate toward zero,
// so a picture larger than the poof moves it right and down).
PixelPoint PoofCorner(PixelPoint corner, int32_t width, int32_t height, int32_t poofWidth,
                      int32_t poofHeight);
