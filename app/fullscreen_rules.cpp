#include "app/fullscreen_rules.h"

bool CoversMonitor(ScreenBox window, ScreenBox monitor, bool hasCaption) {
  if (hasCaption) return false;
  if (monitor.right <= monitor.left || monitor.bottom <= monitor.top) return false;
  return window.left <= monitor.left && window.top <= monitor.top && window.right >= monitor.right &&
         window.bottom >= monitor.bottom;
}

bool FullScreenWatch::InFront(uint32_t now) {
  if (!looked_ || now - lastLook_ >= kFullScreenLookMs) {
    answer_ = look_();
    lastLook_ = now;
    looked_ = true;
  }
  return answer_;
}
