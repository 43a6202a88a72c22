// The star field's one source of randomness: a 32-bit linear congruential
// generator whose draws are integers from 0 to 32767. Drawn on the main thread
// only, so the order of the draws is the order of the operations.
#pragma once
#include <cstdint>

constexpr int32_t kRandomMax = 32767;

extern uint32_t randomState;

void SeedRandomSource(uint32_t seed);

// One draw, 0..32767.
int32_t DrawRandom();

// A random index below imageCount, scaled from one draw; a draw that scales to
// imageCount itself (only 32767 does) is drawn again. -1 without drawing when
// there is no image, so an empty picture list never loops.
int32_t DrawImageIndex(int32_t imageCount);
