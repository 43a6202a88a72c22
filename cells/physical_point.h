// Points in physical screen pixels, as the program places its stars. A
// window that is not per-monitor aware sees its events and its caret in
// logical coordinates when the display is scaled; these turn the one into
// the other by the awareness of the window the point belongs to, not of the
// thread that asks (the hook thread and the caret thread are per-monitor
// aware, the hooked program often is not).
#pragma once
#include <windows.h>

// DPI awareness as the system numbers it; kAwarenessUnknown where the system
// cannot tell (before Windows 10 1607).
constexpr int kAwarenessUnknown = -1;
constexpr int kAwarenessUnaware = 0;
constexpr int kAwarenessSystem = 1;
constexpr int kAwarenessPerMonitor = 2;

// The user32 calls the conversion makes; the system's, or a test's fakes.
// A null conversion is one the system lacks.
struct DpiCalls {
  int (*windowAwareness)(HWND window) = nullptr;
  int (*threadAwareness)() = nullptr;
  BOOL (*clientToScreen)(HWND window, POINT* point) = nullptr;
  BOOL (*logicalToPhysical)(HWND window, POINT* point) = nullptr;
  BOOL (*physicalToLogical)(HWND window, POINT* point) = nullptr;
  BOOL (*physicalCursor)(POINT* point) = nullptr;
};

// The system's calls, found once per process.
const DpiCalls& SystemDpiCalls();

// The point of a mouse event for `window`, in physical pixels: a point of a
// window that is not per-monitor aware is in its logical coordinates, in
// context and out of it. Where the cursor physically is when there is no
// window to convert on (and the calling thread is not per-monitor aware) or
// the conversion fails.
POINT PhysicalMousePoint(const DpiCalls& calls, HWND window, POINT point);
inline POINT PhysicalMousePoint(HWND window, POINT point) {
  return PhysicalMousePoint(SystemDpiCalls(), window, point);
}

// A point in `window`'s client coordinates (the caret's), on the screen in
// physical pixels. A per-monitor aware thread's ClientToScreen adds the
// physical origin to a logical offset for a window that is not aware: the
// offset is added in the window's logical coordinates instead, then the
// whole is converted. Where a conversion fails, what ClientToScreen gives.
POINT PhysicalClientPoint(const DpiCalls& calls, HWND window, POINT client);
inline POINT PhysicalClientPoint(HWND window, POINT client) {
  return PhysicalClientPoint(SystemDpiCalls(), window, client);
}
