#include "app/fullscreen.h"

#include <gtest/gtest.h>

namespace {

// A plain top-level window of this test, shown at the given place.
class PlainWindow {
 public:
  PlainWindow(DWORD style, RECT place) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "Tovik2FullScreenTest";
    RegisterClassA(&windowClass);
    handle_ = CreateWindowExA(0, "Tovik2FullScreenTest", "", style, place.left, place.top,
                              place.right - place.left, place.bottom - place.top, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  }
  ~PlainWindow() { DestroyWindow(handle_); }
  HWND handle() const { return handle_; }

 private:
  HWND handle_;
};

RECT PrimaryMonitor() {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
  return monitor.rcMonitor;
}

TEST(FullScreenWindow, ACaptionlessWindowCoveringTheMonitorIsFullScreen) {
  PlainWindow cover(WS_POPUP | WS_VISIBLE, PrimaryMonitor());
  ASSERT_NE(cover.handle(), nullptr);
  EXPECT_TRUE(IsFullScreenWindow(cover.handle()));
  ShowWindow(cover.handle(), SW_MINIMIZE);
  EXPECT_FALSE(IsFullScreenWindow(cover.handle())) << "minimised, it no longer covers anything";
}

TEST(FullScreenWindow, AMaximisedWindowWithACaptionIsNot) {
  RECT small{100, 100, 500, 400};
  PlainWindow framed(WS_OVERLAPPEDWINDOW, small);
  ASSERT_NE(framed.handle(), nullptr);
  ShowWindow(framed.handle(), SW_MAXIMIZE);
  EXPECT_FALSE(IsFullScreenWindow(framed.handle()));
}

TEST(FullScreenWindow, AWindowOnAPartOfTheDesktopOrTheDesktopItselfIsNot) {
  PlainWindow part(WS_POPUP | WS_VISIBLE, RECT{200, 150, 900, 700});
  ASSERT_NE(part.handle(), nullptr);
  EXPECT_FALSE(IsFullScreenWindow(part.handle()));
  EXPECT_FALSE(IsFullScreenWindow(GetDesktopWindow()));
  EXPECT_FALSE(IsFullScreenWindow(nullptr));
}

}  // namespace
