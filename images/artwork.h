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

// A new width x height alpha bitmap from BITARRAY resource id of the program
// file; null when the resource is missing or does not inflate to exactly
// width x height x 4 bytes.
HBITMAP PrepairAlphaBitmapFromResource(int id, int32_t width, int32_t height);

// Cuts resource 145 into the five 128 x 128 poof frames and links the chain;
// leaves the poof globals empty when the picture can't be made.
void PrepairPoofImage();

// Makes the six digit strips from resources 143 and 144 (full size, and
// reduced to 180 x 24 and 120 x 16); makes no DCs when the colour strip fails.
void PrepairNumImage();

// Release what the two above made; each does nothing when nothing is there.
void ReleaseNumImage();
void ReleasePoofImage();
