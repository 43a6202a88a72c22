#include "stars/win32/pupil_window.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "base/app_state.h"
#include "base/ui_texts.h"
#include "cells/private_messages.h"
#include "code_page.h"
#include "star_test_support.h"

namespace {

// A test message the owner posts to itself; it is dispatched from inside the
// context menu's own message loop, while the menu is up.
constexpr UINT kInsideMenu = WM_APP + 7;

LPARAM Self(HWND window) { return reinterpret_cast<LPARAM>(window); }

bool Queued(HWND window, UINT message) {
  MSG m;
  return PeekMessageA(&m, window, message, message, PM_NOREMOVE) != 0;
}

class StarWindow : public StarFieldTest {
 protected:
  void SetUp() override {
    StarFieldTest::SetUp();
    ASSERT_NE(AddStarImage(40), nullptr);
  }

  Star* NewStar(int x = 300, int y = 300) {
    field.GenerateStars(InputKind::kClick, x, y);
    return Stars().back();
  }

  // A left press and release at a point of the window: the star is grabbed.
  static void Click(HWND w) {
    SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  }

  // Opens the context menu with a right press and reports the menu's items as
  // they were while it was up; the menu is closed from inside its own loop.
  std::vector<UINT> MenuItemsOnRightPress(HWND w, PupilWindow* window) {
    std::vector<UINT> items;
    owner.onMessage = [&](UINT message, WPARAM, LPARAM) {
      if (message == PWM_QUERY_MANY_STARS) PostMessageA(owner.handle(), kInsideMenu, 0, 0);
      if (message == kInsideMenu) {
        HMENU menu = window->Menu();
        int n = GetMenuItemCount(menu);
        for (int i = 0; i < n; ++i) items.push_back(GetMenuItemID(menu, i));
        EndMenu();
      }
    };
    SendMessageA(w, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    owner.onMessage = nullptr;
    return items;
  }
};

TEST_F(StarWindow, CreatedHiddenOwnedLayeredAndParkedOffScreenBySetImage) {
  PupilWindow window;
  EXPECT_EQ(window.SetImage(nullptr, 10, 10), 0);  // no window yet
  ASSERT_EQ(window.Create(owner.handle(), nullptr), 1);
  HWND w = window.Handle();
  RECT r = WindowRect(w);
  EXPECT_EQ(r.left, -1);
  EXPECT_EQ(r.right - r.left, 1);
  EXPECT_FALSE(IsWindowVisible(w));
  LONG_PTR style = GetWindowLongPtrA(w, GWL_STYLE);
  EXPECT_EQ(style & (WS_POPUP | WS_CHILD), static_cast<LONG_PTR>(WS_POPUP | WS_CHILD));
  EXPECT_TRUE(GetWindowLongPtrA(w, GWL_EXSTYLE) & WS_EX_LAYERED) << "layered from the start, set up once";
  EXPECT_EQ(GetWindowLongPtrA(w, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&window));

  ImageSet* image = field.StarImageList.Get(0);
  EXPECT_EQ(window.SetImage(image->DC(), 30, 20), 1);
  r = WindowRect(w);
  EXPECT_EQ(r.left, -30);
  EXPECT_EQ(r.top, -20);
  EXPECT_EQ(r.right, 0);
  EXPECT_EQ(r.bottom, 0);
  EXPECT_TRUE(GetWindowLongPtrA(w, GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_FALSE(GetUpdateRect(w, nullptr, FALSE));  // painted at once

  EXPECT_EQ(window.MoveTo(POINT{50, 60}), 1);
  POINT p = window.GetPosition();
  EXPECT_EQ(p.x, 50);
  EXPECT_EQ(p.y, 60);
  EXPECT_EQ(window.GetSize().cx, 30);
  window.ShowTopmost();
  EXPECT_TRUE(IsWindowVisible(w));
  window.Hide();
  EXPECT_FALSE(IsWindowVisible(w));
  window.PostClose();
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(w); }));
  EXPECT_EQ(window.Handle(), nullptr);  // the record no longer names a dead window
}

TEST_F(StarWindow, AShownWindowTakesANewPictureWhereItIs) {
  PupilWindow window;
  ASSERT_EQ(window.Create(owner.handle(), nullptr), 1);
  ImageSet* image = field.StarImageList.Get(0);
  ASSERT_EQ(window.SetImage(image->DC(), 30, 20), 1);
  window.MoveTo(POINT{200, 150});
  window.ShowTopmost();
  // A poof replacing a star's picture: no trip off the screen and back.
  ASSERT_EQ(window.SetImage(image->DC(), 40, 40), 1);
  RECT r = WindowRect(window.Handle());
  EXPECT_EQ(r.left, 200);
  EXPECT_EQ(r.top, 150);
  EXPECT_EQ(r.right - r.left, 40);
  EXPECT_EQ(r.bottom - r.top, 40);
  EXPECT_TRUE(IsWindowVisible(window.Handle()));
  HWND w = window.Handle();
  window.PostClose();
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(w); }));
}

TEST_F(StarWindow, GrabMessageComesOnceBeforeTheDrag) {
  Star* star = NewStar();
  HWND w = WindowOf(star)->Handle();
  RECT start = WindowRect(w);
  RECT atGrab{};
  owner.onMessage = [&](UINT message, WPARAM, LPARAM) {
    if (message == PWM_STAR_GRABBED) atGrab = WindowRect(w);
  };
  SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  ASSERT_EQ(owner.CountOf(PWM_STAR_GRABBED), 1);  // sent: handled before the press returns
  EXPECT_EQ(owner.received.back().lParam, Self(w));
  EXPECT_EQ(owner.received.back().wParam, 0u);
  EXPECT_EQ(atGrab.left, start.left + 2);  // pressed in, not yet dragged
  EXPECT_EQ(atGrab.top, start.top + 2);
  EXPECT_EQ(GetCapture(), w);

  // The cursor goes from (10, 10) of the window as it was to (30, 25) of the
  // pressed-in window: 22 right and 17 down on the screen. The window follows
  // and keeps its 2-pixel press shift.
  SendMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30, 25));
  RECT dragged = WindowRect(w);
  EXPECT_EQ(dragged.left, start.left + 22 + 2);
  EXPECT_EQ(dragged.top, start.top + 17 + 2);
  EXPECT_EQ(dragged.right - dragged.left, 40);

  SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  RECT released = WindowRect(w);
  EXPECT_EQ(released.left, start.left + 22);
  EXPECT_EQ(released.top, start.top + 17);
  EXPECT_NE(GetCapture(), w);
  SendMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(50, 50));  // no drag any more
  EXPECT_EQ(WindowRect(w).left, released.left);

  SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(owner.CountOf(PWM_STAR_GRABBED), 1);
  // A grabbed star stays where the user left it.
  field.MoveStar();
  EXPECT_EQ(WindowRect(w).left, released.left);
}

TEST_F(StarWindow, ReleaseSendsButtonUpOnlyWhenGrabbed) {
  Star* star = NewStar();
  HWND w = WindowOf(star)->Handle();
  RECT start = WindowRect(w);
  // A release without a press here: the window still steps back.
  SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(WindowRect(w).left, start.left - 2);
  EXPECT_EQ(WindowRect(w).top, start.top - 2);
  EXPECT_EQ(owner.CountOf(PWM_HOOK_BUTTONUP), 0);

  WindowOf(star)->ReportReleaseWith(PWM_ABOUT_CLOSED);
  SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  ASSERT_EQ(owner.CountOf(PWM_HOOK_BUTTONUP), 1);
  EXPECT_EQ(owner.received.back().message, static_cast<UINT>(PWM_HOOK_BUTTONUP));
  EXPECT_EQ(owner.received.back().lParam, Self(w));
  // The release message is posted: still queued when the release returns.
  EXPECT_EQ(owner.CountOf(PWM_ABOUT_CLOSED), 0);
  EXPECT_TRUE(Queued(owner.handle(), PWM_ABOUT_CLOSED));
  ASSERT_TRUE(PumpUntil([&] { return owner.CountOf(PWM_ABOUT_CLOSED) == 1; }));
  EXPECT_EQ(owner.received.back().lParam, Self(w));
}

TEST_F(StarWindow, StarJoinedAwayDuringTheReleaseIsLeftAlone) {
  Star* star = NewStar();
  HWND w = WindowOf(star)->Handle();
  WindowOf(star)->ReportReleaseWith(PWM_ABOUT_CLOSED);
  SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  // The owner frees the star while it handles the drop, as a join does.
  owner.onMessage = [&](UINT message, WPARAM, LPARAM lParam) {
    if (message == PWM_HOOK_BUTTONUP) field.Pool().DestroyStar(field.GetStarByHWND(reinterpret_cast<HWND>(lParam)));
  };
  SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(field.GetStarByHWND(w), nullptr);
  EXPECT_FALSE(Queued(owner.handle(), PWM_ABOUT_CLOSED));

  // The same for a right press that ends a drag: no menu for a gone star.
  Star* other = NewStar();
  HWND v = WindowOf(other)->Handle();
  SendMessageA(v, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  int queries = owner.CountOf(PWM_QUERY_MANY_STARS);
  SendMessageA(v, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  owner.onMessage = nullptr;
  EXPECT_EQ(field.GetStarByHWND(v), nullptr);
  EXPECT_EQ(owner.CountOf(PWM_QUERY_MANY_STARS), queries);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(w) && !IsWindow(v); }));
}

TEST_F(StarWindow, ContextMenuHasOneItemOrThreeWhenTwoStarsAreGrabbed) {
  Star* first = NewStar(200, 200);
  Star* second = NewStar(500, 200);
  HWND w = WindowOf(first)->Handle();

  // Not grabbed: no menu at all.
  SendMessageA(w, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(owner.CountOf(PWM_QUERY_MANY_STARS), 0);

  Click(w);
  std::vector<UINT> items = MenuItemsOnRightPress(w, WindowOf(first));
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0], static_cast<UINT>(IDM_STAR_ERASE));
  EXPECT_EQ(owner.CountOf(PWM_QUERY_MANY_STARS), 1);
  EXPECT_EQ(WindowOf(first)->Menu(), nullptr);  // destroyed after use

  Click(WindowOf(second)->Handle());
  items = MenuItemsOnRightPress(w, WindowOf(first));
  ASSERT_EQ(items.size(), 4u);  // three items and a separator
  EXPECT_EQ(items[0], static_cast<UINT>(IDM_STAR_ERASE));
  EXPECT_EQ(items[1], 0u);
  EXPECT_EQ(items[2], static_cast<UINT>(IDM_STAR_ERASE_ALL));
  EXPECT_EQ(items[3], static_cast<UINT>(IDM_STAR_TIDY));

  // A window with the menu switched off never opens one.
  WindowOf(first)->DisableMenu();
  int queries = owner.CountOf(PWM_QUERY_MANY_STARS);
  SendMessageA(w, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(owner.CountOf(PWM_QUERY_MANY_STARS), queries);
}

// The menu's texts are the string table's, read wide: Japanese whatever the
// ANSI code page (this case also runs under a Western one).
TEST_F(StarWindow, MenuShowsTheJapaneseTextsOfTheUiTextSlots) {
  ExpectCodePageOfThisRun();
  appInstance = GetModuleHandleA(nullptr);
  LoadUiTexts();
  Star* first = NewStar(200, 200);
  Star* second = NewStar(500, 200);
  Click(WindowOf(first)->Handle());
  Click(WindowOf(second)->Handle());
  wchar_t texts[3][32] = {};
  owner.onMessage = [&](UINT message, WPARAM, LPARAM) {
    if (message == PWM_QUERY_MANY_STARS) PostMessageA(owner.handle(), kInsideMenu, 0, 0);
    if (message == kInsideMenu) {
      GetMenuStringW(WindowOf(first)->Menu(), IDM_STAR_ERASE, texts[0], 32, MF_BYCOMMAND);
      GetMenuStringW(WindowOf(first)->Menu(), IDM_STAR_ERASE_ALL, texts[1], 32, MF_BYCOMMAND);
      GetMenuStringW(WindowOf(first)->Menu(), IDM_STAR_TIDY, texts[2], 32, MF_BYCOMMAND);
      EndMenu();
    }
  };
  SendMessageA(WindowOf(first)->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  owner.onMessage = nullptr;
  EXPECT_STREQ(texts[0], L"消去");
  EXPECT_STREQ(texts[1], L"全て消去");
  EXPECT_STREQ(texts[2], L"整理する");
}

TEST_F(StarWindow, RightPressDuringADragEndsItAndSendsButtonUpFirst) {
  Star* star = NewStar();
  HWND w = WindowOf(star)->Handle();
  RECT start = WindowRect(w);
  SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  int buttonUps = 0;
  owner.onMessage = [&](UINT message, WPARAM, LPARAM) {
    if (message == PWM_HOOK_BUTTONUP) ++buttonUps;
    if (message == PWM_QUERY_MANY_STARS) {
      EXPECT_EQ(buttonUps, 1);  // before the menu is built
      PostMessageA(owner.handle(), kInsideMenu, 0, 0);
    }
    if (message == kInsideMenu) EndMenu();
  };
  SendMessageA(w, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  owner.onMessage = nullptr;
  EXPECT_EQ(buttonUps, 1);
  EXPECT_EQ(WindowOf(star)->IsDragging(), 0);
  EXPECT_NE(GetCapture(), w);
  EXPECT_EQ(WindowRect(w).left, start.left + 2);  // the press shift stays
  SendMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(30, 30));
  EXPECT_EQ(WindowRect(w).left, start.left + 2);
}

TEST_F(StarWindow, StarFreedWhileItsMenuIsUpIsNotTouchedAfterwards) {
  Star* star = NewStar();
  HWND w = WindowOf(star)->Handle();
  Click(w);
  owner.onMessage = [&](UINT message, WPARAM, LPARAM) {
    if (message == PWM_QUERY_MANY_STARS) PostMessageA(owner.handle(), kInsideMenu, 0, 0);
    if (message == kInsideMenu) {
      field.Pool().DestroyStar(field.GetStarByHWND(w));  // as a bomb going off in a tick does
      EndMenu();
    }
  };
  SendMessageA(w, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  owner.onMessage = nullptr;
  EXPECT_EQ(field.GetStarByHWND(w), nullptr);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(w); }));
}

// A visible window of the test in front, as the program the user types in.
class FrontWindow {
 public:
  FrontWindow()
      : handle_(CreateWindowExA(0, "STATIC", "front", WS_POPUP | WS_VISIBLE, 10, 10, 120, 80, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr)) {
    SetForegroundWindow(handle_);
  }
  ~FrontWindow() { DestroyWindow(handle_); }
  HWND handle() const { return handle_; }

 private:
  HWND handle_;
};

TEST_F(StarWindow, NeverActivatedAndItsMenuGivesTheForegroundBack) {
  Star* star = NewStar();
  HWND w = WindowOf(star)->Handle();
  EXPECT_TRUE(GetWindowLongPtrA(w, GWL_EXSTYLE) & WS_EX_NOACTIVATE);
  EXPECT_EQ(SendMessageA(w, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(w), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
            MA_NOACTIVATE);
  EXPECT_EQ(SendMessageA(w, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(w), MAKELPARAM(HTCLIENT, WM_RBUTTONDOWN)),
            MA_NOACTIVATE);

  FrontWindow front;
  ASSERT_EQ(GetForegroundWindow(), front.handle());
  Click(w);
  EXPECT_EQ(GetForegroundWindow(), front.handle()) << "a catch leaves the foreground alone";
  HWND inMenu = nullptr;
  owner.onMessage = [&](UINT message, WPARAM, LPARAM) {
    if (message == PWM_QUERY_MANY_STARS) PostMessageA(owner.handle(), kInsideMenu, 0, 0);
    if (message == kInsideMenu) {
      inMenu = GetForegroundWindow();
      EndMenu();
    }
  };
  SendMessageA(w, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  owner.onMessage = nullptr;
  EXPECT_EQ(inMenu, w) << "the menu's owner is in front while the menu is up";
  EXPECT_EQ(GetForegroundWindow(), front.handle()) << "the window in front before the menu is in front again";
}

TEST_F(StarWindow, MenuCommandsArePostedToTheOwner) {
  Star* star = NewStar();
  HWND w = WindowOf(star)->Handle();
  SendMessageA(w, WM_COMMAND, IDM_STAR_ERASE, 0);
  SendMessageA(w, WM_COMMAND, IDM_STAR_ERASE_ALL, 0);
  SendMessageA(w, WM_COMMAND, IDM_STAR_TIDY, 0);
  SendMessageA(w, WM_COMMAND, 105, 0);
  EXPECT_TRUE(owner.received.empty());  // nothing sent, all queued
  ASSERT_TRUE(PumpUntil([&] { return owner.received.size() >= 3; }));
  PumpUntil([] { return false; }, 50);
  ASSERT_EQ(owner.received.size(), 3u);
  EXPECT_EQ(owner.received[0].message, static_cast<UINT>(PWM_STAR_ERASE));
  EXPECT_EQ(owner.received[0].lParam, Self(w));
  EXPECT_EQ(owner.received[1].message, static_cast<UINT>(PWM_STAR_ERASE_ALL));
  EXPECT_EQ(owner.received[1].lParam, 0);
  EXPECT_EQ(owner.received[2].message, static_cast<UINT>(PWM_STAR_TIDY));
  EXPECT_EQ(owner.received[2].lParam, Self(w));
  for (const ReceivedMessage& m : owner.received) EXPECT_EQ(m.wParam, 0u);
}

TEST_F(StarWindow, LateMessagesToADestroyedStarsWindowReachNothing) {
  Star* star = NewStar();
  HWND w = WindowOf(star)->Handle();
  field.Pool().DestroyStar(star);
  ASSERT_TRUE(IsWindow(w));  // its WM_CLOSE is still queued
  EXPECT_FALSE(IsWindowVisible(w));
  EXPECT_EQ(GetWindowLongPtrA(w, GWLP_USERDATA), 0);
  // Were the freed record still reached, the press would capture the mouse
  // and report a grab, and the menu command would post to the owner.
  SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(9, 9));
  SendMessageA(w, WM_PAINT, 0, 0);
  SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  SendMessageA(w, WM_COMMAND, IDM_STAR_ERASE, 0);
  SendMessageA(w, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  EXPECT_NE(GetCapture(), w);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(w); }));
  EXPECT_TRUE(owner.received.empty());
}

}  // namespace
