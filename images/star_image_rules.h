// How a picture file becomes a star picture: the file-name markers, the size
// it is reduced to, how a strip is cut into frames, and where the settings
// dialog's test display puts each picture. No platform calls here.
#pragma once
#include <cstdint>

#include "images/frame_layout.h"

// Tells whether a byte starts a double-byte character in the system code page.
using LeadByteTest = bool (*)(unsigned char byte);

// Position of the first occurrence of pattern in text, or -1. The search steps
// one character at a time (a double-byte character is one step), so a match
// only begins at a character boundary; comparison is byte for byte and case
// sensitive. An empty pattern finds nothing.
int SearchSubString(const char* text, const char* pattern, LeadByteTest isLeadByte);

// The side of the box pictures are reduced to fit, at 96 DPI.
constexpr int32_t kStarPictureSide = 72;

struct PictureSize {
  int32_t width;
  int32_t height;
};

// The size a picture without "_fix" is shown at: unchanged when it fits
// side x side (72 x 72 on an unscaled display), else reduced to fit with its
// proportions kept. The scale is 1/side held as a float, a little above
// 1/72 for 72, so exact ratios come out one pixel short (144 x 72 gives
// 72 x 35). A side that would be 0 (a picture thinner than 1 : side) gives
// {0, 0}: such a file is not loaded.
PictureSize ReducedStarSize(int32_t width, int32_t height, int32_t side = kStarPictureSide);


// How an "_anm" picture of w x h is cut: square frames of the short side along
// the long side, when there is room for at least two; else one whole frame.
FrameLayout StripLayout(int32_t width, int32_t height);

// The test display: pictures side by side, centred when they fit on one row,
// below the settings dialog, wrapping 76 pixels lower when a row is full
// (the gaps and rows as at 96 DPI, multiplied out to dpi).
struct DisplaySpot {
  int32_t x;
  int32_t y;
};

// Fills spots[k] for each picture k that gets a place and returns how many
// did (the rest find no room on the screen).
int LayOutTestDisplay(const int32_t* frameWidths, int count, int32_t screenWidth, int32_t screenHeight,
                      int32_t dialogBottom, DisplaySpot* spots, int32_t dpi = 96);
