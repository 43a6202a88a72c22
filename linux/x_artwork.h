// What every star window draws from beside its own picture: the poof frames
// and the digit strips of the numbers (a colour and a mask strip per size),
// made from the built-in artwork at the display's scale.
#pragma once
#include <array>

#include "images/artwork_payload.h"
#include "linux/x_display.h"
#include "linux/x_picture.h"
#include "stars/group_rules.h"

struct XArtwork {
  XPicture poof;  // its frames, one per poof tick
  // Per DigitSize, the colour strip at 2 * size and its mask at 2 * size + 1:
  // ten cells side by side.
  std::array<PicturePixels, 6> digitStrips;
};

// A payload of the built-in artwork as pixels, through the core's unpacking;
// false when it does not unpack to width × height.
bool BuiltInPixels(BuiltInArt art, int32_t width, int32_t height, PicturePixels* out);

// The poof and the digits at display.Dpi(); false when the poof could not
// be made (the digits may then be missing too: numbers are skipped).
bool LoadXArtwork(XDisplay& display, XArtwork* artwork);
