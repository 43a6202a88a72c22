// The hook library's points in physical pixels. Wine runs every thread per
// monitor aware and never scales, so a physical point must come back as it
// went in; a thread made unaware takes the conversion (or, without a window,
// the physical cursor) instead.
#include <gtest/gtest.h>
#include <windows.h>

#include "hook/physical_point.h"
#include "test_window.h"

namespace {

using SetThreadContext = HANDLE(WINAPI*)(HANDLE);
const HANDLE kUnawareContext = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));  // DPI_AWARENESS_CONTEXT_UNAWARE

// Makes the calling thread DPI unaware for the object's life; Active() is
// false when that failed.
class UnawareThread {
 public:
  UnawareThread() {
    auto set = reinterpret_cast<SetThreadContext>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")));
    if (set != nullptr) {
      set_ = set;
      previous_ = set(kUnawareContext);
    }
  }
  ~UnawareThread() {
    if (previous_ != nullptr) set_(previous_);
  }
  bool Active() const { return previous_ != nullptr; }

 private:
  SetThreadContext set_ = nullptr;
  HANDLE previous_ = nullptr;
};

TEST(PhysicalPoint, AnAwareThreadsPointsPassUnchangedEvenWithoutAWindow) {
  ASSERT_TRUE(SetCursorPos(30, 40));
  const POINT distant{5000, -700};
  POINT mouse = PhysicalMousePoint(nullptr, distant);
  EXPECT_EQ(mouse.x, 5000) << "the cursor must not stand in for a point that needs no conversion";
  EXPECT_EQ(mouse.y, -700);
  POINT caret = PhysicalCaretPoint(nullptr, POINT{12, 34});
  EXPECT_EQ(caret.x, 12);
  EXPECT_EQ(caret.y, 34);
}

TEST(PhysicalPoint, AnUnawareThreadConvertsOnItsWindowOrFallsBackToTheCursor) {
  TestWindow window;
  ASSERT_TRUE(SetWindowPos(window.handle(), nullptr, 100, 120, 200, 150, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW));
  ASSERT_TRUE(SetCursorPos(33, 44));
  UnawareThread unaware;
  ASSERT_TRUE(unaware.Active()) << "the thread could not be made unaware";
  // On an unscaled display the window's own point converts to itself.
  POINT inside = PhysicalMousePoint(window.handle(), POINT{150, 160});
  EXPECT_EQ(inside.x, 150);
  EXPECT_EQ(inside.y, 160);
  POINT caret = PhysicalCaretPoint(window.handle(), POINT{110, 130});
  EXPECT_EQ(caret.x, 110);
  EXPECT_EQ(caret.y, 130);
  // Without a window there is nothing to convert on: the cursor's physical place.
  POINT lost = PhysicalMousePoint(nullptr, POINT{900, 900});
  EXPECT_EQ(lost.x, 33);
  EXPECT_EQ(lost.y, 44);
  // A caret keeps its point rather than jumping to the cursor.
  POINT kept = PhysicalCaretPoint(nullptr, POINT{900, 901});
  EXPECT_EQ(kept.x, 900);
  EXPECT_EQ(kept.y, 901);
}

}  // namespace
