// The built-in artwork that the star field uses besides the star pictures:
// the five poof frames a bombed star shows, and the digit strips that numbers
// are drawn from. Made at each start of the star field, released at each stop.
#pragma once
#include <windows.h>

#include <cstdint>

#include "images/image_set.h"

// One poof frame: a 128 x 128 screen-compatible bitmap in its own memory DC.
struct PoofFrame {
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ oldBitmap;  // what dc held before bitmap; put back before deleting it
  PoofFrame* next;
};

constexpr int kPoofFrameCount = 5;

struct FrameSize {
  int32_t width;
  int32_t height;
};

extern FrameSize poofFrameSize;  // 128 x 128 once made; the motion centres a bombed star on it
// An empty head record, frames 0 to 4, an empty terminator; null when not made.
extern PoofFrame* poofChain;
// Frame k of the poof, in showing order; all null when not made.
extern PoofFrame* poofFrames[kPoofFrameCount];

// Large colour, large mask, medium colour, medium mask, small colour, small
// mask. Only dc, bitmap and oldBitmap are filled, and in the colour records
// frameWidth x frameHeight is the digit cell (24 x 32, 18 x 24, 12 x 16).
enum DigitStrip : int {
  DIGITS_LARGE_COLOUR,
  DIGITS_LARGE_MASK,
  DIGITS_MEDIUM_COLOUR,
  DIGITS_MEDIUM_MASK,
  DIGITS_SMALL_COLOUR,
  DIGITS_SMALL_MASK,
  DIGIT_STRIP_COUNT
};
extern ImageSet digitStrips[DIGIT_STRIP_COUNT];
