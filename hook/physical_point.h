// Points as the library reports them: in physical screen pixels. A hooked
// program that is not per-monitor aware sees its events and its caret in
// logical coordinates when the display is scaled, while Tovik2 places its
// stars in physical ones; these turn the one into the other.
#pragma once
#include <windows.h>

// The point of a mouse event that `window`'s thread received, in physical
// pixels; where the cursor physically is when the point cannot be converted
// (no window, or a point the window's monitor does not hold).
POINT PhysicalMousePoint(HWND window, POINT point);

// A screen point of the caret of `window`, in physical pixels; unchanged when
// it cannot be converted.
POINT PhysicalCaretPoint(HWND window, POINT point);
