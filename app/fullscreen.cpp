#include "app/fullscreen.h"

#include <dwmapi.h>
#include <shellapi.h>

#include "app/fullscreen_rules.h"
#include "base/system_library.h"

namespace {

ScreenBox BoxOf(const RECT& rect) { return ScreenBox{rect.left, rect.top, rect.right, rect.bottom}; }

// The shell's own view: a Direct3D program in exclusive full screen, a
// presentation, or "busy" (a full-screen program without Direct3D).
bool ShellReportsFullScreen() {
  QUERY_USER_NOTIFICATION_STATE state{};
  if (FAILED(SHQueryUserNotificationState(&state))) return false;
  return state == QUNS_BUSY || state == QUNS_RUNNING_D3D_FULL_SCREEN || state == QUNS_PRESENTATION_MODE;
}

// A cloaked window (on another virtual desktop, a suspended store app) is not
// seen, whatever its size. A system that cannot tell (Wine) counts as not cloaked.
bool IsCloaked(HWND window) {
  using GetAttribute = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);
  static const GetAttribute getAttribute = SystemCall<GetAttribute>(L"dwmapi.dll", "DwmGetWindowAttribute");
  DWORD cloaked = 0;
  return getAttribute != nullptr && SUCCEEDED(getAttribute(window, DWMWA_CLOAKED, &cloaked, sizeof cloaked)) &&
         cloaked != 0;
}

bool IsShellWindow(HWND window) {
  char className[64] = {};
  return GetClassNameA(window, className, sizeof className) > 0 && IsShellWindowClass(className);
}

// The window covers its monitor; the shell is asked (only then, and only
// when `askShell`) to confirm one that keeps a caption style.
bool FullScreen(HWND window, bool askShell) {
  if (window == nullptr || window == GetDesktopWindow() || window == GetShellWindow()) return false;
  if (!IsWindowVisible(window) || IsIconic(window)) return false;
  if (IsShellWindow(window) || IsCloaked(window)) return false;
  RECT rect{};
  if (!GetWindowRect(window, &rect)) return false;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) return false;
  LONG style = GetWindowLongA(window, GWL_STYLE);
  bool hasCaption = (style & WS_CAPTION) == WS_CAPTION;
  const ScreenBox box = BoxOf(rect), screen = BoxOf(monitor.rcMonitor);
  const bool shellSays = askShell && hasCaption && CoversMonitor(box, screen, false) && ShellReportsFullScreen();
  return FrontIsFullScreen(box, screen, hasCaption, shellSays);
}

}  // namespace

bool IsFullScreenWindow(HWND window) { return FullScreen(window, false); }

bool ForegroundIsFullScreen() { return FullScreen(GetForegroundWindow(), true); }
