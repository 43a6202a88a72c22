#include "app/fullscreen_rules.h"

namespace {

bool SameClass(const char* a, const char* b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  for (; *a != '\0' && *b != '\0'; ++a, ++b) {
    if (lower(*a) != lower(*b)) return false;
  }
  return *a == *b;
}

}  // namespace

bool CoversMonitor(ScreenBox window, ScreenBox monitor, bool hasCaption) {
  if (hasCaption) return false;
  if (monitor.right <= monitor.left || monitor.bottom <= monitor.top) return false;
  return window.left <= monitor.left && window.top <= monitor.top && window.right >= monitor.right &&
         window.bottom >= monitor.bottom;
}

bool FrontIsFullScreen(ScreenBox window, ScreenBox monitor, bool hasCaption, bool shellSaysFullScreen) {
  return CoversMonitor(window, monitor, false) && (!hasCaption || shellSaysFullScreen);
}

bool FullScreenWatch::InFront(uint32_t now) {
  if (!looked_ || now - lastLook_ >= kFullScreenLookMs) {
    answer_ = look_();
    lastLook_ = now;
    looked_ = true;
  }
  return answer_;
}

bool IsShellWindowClass(const char* className) {
  if (className == nullptr) return false;
  static constexpr const char* kShellClasses[] = {"Progman", "WorkerW", "Shell_TrayWnd", "Shell_SecondaryTrayWnd"};
  for (const char* shell : kShellClasses) {
    if (SameClass(className, shell)) return true;
  }
  return false;
}
