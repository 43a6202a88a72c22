#include "app/fullscreen.h"

#include <shellapi.h>

#include "app/fullscreen_rules.h"

namespace {

ScreenBox BoxOf(const RECT& rect) { return ScreenBox{rect.left, rect.top, rect.right, rect.bottom}; }

// The shell's own view: a Direct3D program in exclusive full screen, a
// presentation, or "busy" (a full-screen program without Direct3D).
bool ShellReportsFullScreen() {
  QUERY_USER_NOTIFICATION_STATE state{};
  if (FAILED(SHQueryUserNotificationState(&state))) return false;
  return state == QUNS_BUSY || state == QUNS_RUNNING_D3D_FULL_SCREEN || state == QUNS_PRESENTATION_MODE;
}

}  // namespace

bool IsFullScreenWindow(HWND window) {
  if (window == nullptr || window == GetDesktopWindow() || window == GetShellWindow()) return false;
  if (!IsWindowVisible(window) || IsIconic(window)) return false;
  RECT rect{};
  if (!GetWindowRect(window, &rect)) return false;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) return false;
  LONG style = GetWindowLongA(window, GWL_STYLE);
  bool hasCaption = (style & WS_CAPTION) == WS_CAPTION;
  return CoversMonitor(BoxOf(rect), BoxOf(monitor.rcMonitor), hasCaption);
}

bool ForegroundIsFullScreen() {
  return IsFullScreenWindow(GetForegroundWindow()) || ShellReportsFullScreen();
}
