// What every star window draws from beside its own picture: the poof frames
// and the digit strips of the numbers (a colour and a mask strip per size).
#pragma once
#include <array>

#include "linux/x_picture.h"
#include "stars/group_rules.h"

struct XArtwork {
  XPicture poof;  // its frames, one per poof tick
  // Indexed as DigitStrip: colour and mask strips, ten cells side by side,
  // per DigitSize.
  std::array<PicturePixels, 6> digitStrips;
};
