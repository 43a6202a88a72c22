// Whether the program in front is full screen (a game, a slideshow, a video):
// while it is, input makes no stars.
#pragma once
#include <windows.h>

// The window covers its whole monitor without a caption. The desktop and the
// shell's own windows (by handle and by class) never count, nor does a
// hidden, minimised or cloaked window.
bool IsFullScreenWindow(HWND window);

// The foreground window is full screen; one that covers its monitor but
// keeps a caption style counts when the shell confirms a full-screen or
// presentation program. The shell's word alone never counts.
bool ForegroundIsFullScreen();
