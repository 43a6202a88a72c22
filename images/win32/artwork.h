// The built-in artwork that the star field uses besides the star pictures:
// the five poof frames a bombed star shows, and the digit strips that numbers
// are drawn from. Made at each start of the star field, released at each stop.
#pragma once
#include <windows.h>

#include <cstdint>

#include "images/win32/image_set.h"

constexpr int kPoofFrameCount = 5;

struct FrameSize {
  int32_t width;
  int32_t height;
};

// Large colour, large mask, medium colour, medium mask, small colour, small
// mask. In the colour records frameWidth x frameHeight is the digit cell
// (24 x 32, 18 x 24, 12 x 16).
enum DigitStrip : int {
  DIGITS_LARGE_COLOUR,
  DIGITS_LARGE_MASK,
  DIGITS_MEDIUM_COLOUR,
  DIGITS_MEDIUM_MASK,
  DIGITS_SMALL_COLOUR,
  DIGITS_SMALL_MASK,
  DIGIT_STRIP_COUNT
};

// The poof frames and digit strips of one star field, each picture in a
// memory DC of its own.
struct StarArtwork {
  FrameSize poofFrameSize{};  // 128 x 128 (scaled) once made; a bombed star is centred on it
  MemoryBitmap poofFrames[kPoofFrameCount];  // in showing order; all empty when not made
  ImageSet digitStrips[DIGIT_STRIP_COUNT];   // all empty when the large colour strip fails

  // Poof frame k, or null when it was not made.
  const MemoryBitmap* PoofFrame(int k) const {
    return k >= 0 && k < kPoofFrameCount && poofFrames[k] ? &poofFrames[k] : nullptr;
  }

  // Cuts resource 145 into the five 128 x 128 poof frames; leaves them empty
  // when the picture can't be made.
  void PrepairPoofImage();
  // Makes the six digit strips from resources 143 and 144 (full size, and
  // reduced to 180 x 24 and 120 x 16); none when the colour strip fails.
  void PrepairNumImage();
  // Release what the two above made; each does nothing when nothing is there.
  void ReleaseNumImage();
  void ReleasePoofImage();
};

// A new width x height alpha bitmap from BITARRAY resource id of the program
// file; null when the resource is missing or does not inflate to exactly
// width x height x 4 bytes.
UniqueBitmap PrepairAlphaBitmapFromResource(int id, int32_t width, int32_t height);
