// When a program in front counts as full screen: the effect then pauses, so
// that no star is pushed over a game, a slideshow or a video.
#pragma once
#include <cstdint>

struct ScreenBox {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

// A window covering the whole of its monitor without a caption. A maximised
// window keeps its caption (and leaves the taskbar free); a borderless window
// that fills the monitor is what games, slideshows and players use.
bool CoversMonitor(ScreenBox window, ScreenBox monitor, bool hasCaption);
