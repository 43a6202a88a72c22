#include "app/fullscreen.h"

#include <gtest/gtest.h>

namespace {

// A plain top-level window of this test, shown at the given place, of the
// test's own class or of the one named.
class PlainWindow {
 public:
  PlainWindow(DWORD style, RECT place, const char* className = "Tovik2FullScreenTest") {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
    handle_ = CreateWindowExA(0, className, "", style, place.left, place.top, place.right - place.left,
                              place.bottom - place.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
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

// The desktop during a slideshow of wallpapers: a captionless WorkerW window
// over the whole monitor, hosting the desktop's view. In front, it pauses
// nothing; an ordinary window of the same shape in front does.
TEST(FullScreenWindow, TheDesktopsWorkerWindowInFrontIsNotAFullScreenProgram) {
  PlainWindow desktop(WS_POPUP | WS_VISIBLE, PrimaryMonitor(), "WorkerW");
  ASSERT_NE(desktop.handle(), nullptr);
  WNDCLASSA viewClass{};
  viewClass.lpfnWndProc = DefWindowProcA;
  viewClass.hInstance = GetModuleHandleA(nullptr);
  viewClass.lpszClassName = "SHELLDLL_DefView";
  RegisterClassA(&viewClass);
  RECT monitor = PrimaryMonitor();
  HWND view = CreateWindowExA(0, "SHELLDLL_DefView", "", WS_CHILD | WS_VISIBLE, 0, 0, monitor.right - monitor.left,
                              monitor.bottom - monitor.top, desktop.handle(), nullptr, GetModuleHandleA(nullptr),
                              nullptr);
  ASSERT_NE(view, nullptr);
  SetForegroundWindow(desktop.handle());
  ASSERT_EQ(GetForegroundWindow(), desktop.handle());
  EXPECT_FALSE(IsFullScreenWindow(desktop.handle()));
  EXPECT_FALSE(ForegroundIsFullScreen());

  PlainWindow game(WS_POPUP | WS_VISIBLE, PrimaryMonitor());
  ASSERT_NE(game.handle(), nullptr);
  SetForegroundWindow(game.handle());
  ASSERT_EQ(GetForegroundWindow(), game.handle());
  EXPECT_TRUE(ForegroundIsFullScreen()) << "a captionless window over the monitor is a full-screen program";
}

}  // namespace
