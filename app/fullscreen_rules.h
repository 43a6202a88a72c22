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

// Whether the window in front is a full-screen program. The window decides:
// the shell's "busy" or full-screen notification state is reported with
// nothing full screen in front (an overlay left on, some bare desktops), so
// it never pauses alone; it only confirms a window that covers its monitor
// but keeps a caption style (some games in exclusive full screen).
bool FrontIsFullScreen(ScreenBox window, ScreenBox monitor, bool hasCaption, bool shellSaysFullScreen);

// The shell's own top-level windows (the desktop's Progman and WorkerW, which
// cover the monitor without a caption while a slideshow of wallpapers runs,
// and the taskbars) are never full-screen programs. Class names are compared
// as the window system does, without letter case.
bool IsShellWindowClass(const char* className);

// A recent answer to "is the program in front full screen?". It is asked on
// every input event, and one look costs about twenty calls into the window
// system (half a millisecond under Wine), which would compete with the very
// program the user is moving the pointer in: a look is reused for
// kFullScreenLookMs, so a program that just went full screen may still get
// stars for that long.
constexpr uint32_t kFullScreenLookMs = 250;

class FullScreenWatch {
 public:
  using Look = bool (*)();
  explicit FullScreenWatch(Look look) : look_(look) {}
  // The answer at `now` (a millisecond tick count that may wrap around).
  bool InFront(uint32_t now);

 private:
  Look look_;
  bool looked_ = false;
  bool answer_ = false;
  uint32_t lastLook_ = 0;
};
