// What every star window draws from beside its own picture: the poof frames
// and the digit strips of the numbers (a colour and a mask strip per size),
// made from the built-in artwork at the display's scale.
#pragma once
#include <array>

#include "linux/x_display.h"
#include "linux/x_picture.h"
#include "stars/group_rules.h"

struct XArtwork {
  XPicture poof;  // its frames, one per poof tick
  // Per DigitSize, the colour strip at 2 * size and its mask at 2 * size + 1:
  // ten cells side by side.
  std::array<PicturePixels, 6> digitStrips;
};

// The poof and the digits at display.Dpi(); false when the poof could not
// be made (the digits may then be missing too: numbers are skipped).
bool LoadXArtwork(XDisplay& display, XArtwork* artwork);
