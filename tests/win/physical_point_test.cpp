// Points in physical pixels. Wine never scales, so the conversion's rules are
// proven on fakes of the user32 calls: a display at 150 %, a window whose
// client area starts at (300, 150) physical, (200, 100) logical. The system's
// own calls are checked only where Wine can show them (an aware thread's
// point passes unchanged).
#include <gtest/gtest.h>
#include <windows.h>

#include "cells/physical_point.h"
#include "test_window.h"

namespace {

// The fake system's state; each test sets what it needs.
struct FakeDisplay {
  int windowAwareness = kAwarenessUnaware;
  int threadAwareness = kAwarenessPerMonitor;
  bool conversionsFail = false;
  POINT cursor{777, 888};
  int conversions = 0;
};
FakeDisplay fake;

HWND const kWindow = reinterpret_cast<HWND>(static_cast<intptr_t>(0x1234));
constexpr POINT kPhysicalOrigin{300, 150};
constexpr POINT kLogicalOrigin{200, 100};

int FakeWindowAwareness(HWND) { return fake.windowAwareness; }
int FakeThreadAwareness() { return fake.threadAwareness; }
// As the system does it: the origin in the caller's coordinates, the offset
// taken as it is.
BOOL FakeClientToScreen(HWND window, POINT* point) {
  if (window == nullptr) return FALSE;
  const bool callerPhysical = fake.threadAwareness == kAwarenessPerMonitor;
  const bool windowPhysical = fake.windowAwareness == kAwarenessPerMonitor;
  const POINT origin = callerPhysical || windowPhysical ? kPhysicalOrigin : kLogicalOrigin;
  point->x += origin.x;
  point->y += origin.y;
  return TRUE;
}
BOOL FakeToPhysical(HWND, POINT* point) {
  ++fake.conversions;
  if (fake.conversionsFail) return FALSE;
  point->x = point->x * 3 / 2;
  point->y = point->y * 3 / 2;
  return TRUE;
}
BOOL FakeToLogical(HWND, POINT* point) {
  ++fake.conversions;
  if (fake.conversionsFail) return FALSE;
  point->x = point->x * 2 / 3;
  point->y = point->y * 2 / 3;
  return TRUE;
}
BOOL FakeCursor(POINT* point) {
  *point = fake.cursor;
  return TRUE;
}

DpiCalls FakeCalls() {
  DpiCalls calls;
  calls.windowAwareness = FakeWindowAwareness;
  calls.threadAwareness = FakeThreadAwareness;
  calls.clientToScreen = FakeClientToScreen;
  calls.logicalToPhysical = FakeToPhysical;
  calls.physicalToLogical = FakeToLogical;
  calls.physicalCursor = FakeCursor;
  return calls;
}

void ExpectPoint(POINT point, LONG x, LONG y, const char* what) {
  EXPECT_EQ(point.x, x) << what;
  EXPECT_EQ(point.y, y) << what;
}

TEST(PhysicalPoint, ACaretOfAnUnawareWindowConvertsByTheWindowNotTheThread) {
  const DpiCalls calls = FakeCalls();
  // The hook thread and the caret thread: per-monitor aware.
  fake = FakeDisplay{};
  ExpectPoint(PhysicalClientPoint(calls, kWindow, POINT{40, 20}), 360, 180,
              "from an aware thread, a logical offset must not be added to the physical origin");
  // The hooked program's own thread, unaware like its window.
  fake = FakeDisplay{};
  fake.threadAwareness = kAwarenessUnaware;
  ExpectPoint(PhysicalClientPoint(calls, kWindow, POINT{40, 20}), 360, 180, "in context, converted once");
  fake.threadAwareness = kAwarenessSystem;
  fake.windowAwareness = kAwarenessSystem;
  ExpectPoint(PhysicalClientPoint(calls, kWindow, POINT{40, 20}), 360, 180, "a system-aware window is scaled too");
  // An aware window's caret is physical already: no conversion at all.
  fake = FakeDisplay{};
  fake.windowAwareness = kAwarenessPerMonitor;
  ExpectPoint(PhysicalClientPoint(calls, kWindow, POINT{40, 20}), 340, 170, "an aware window's caret");
  EXPECT_EQ(fake.conversions, 0);
  // A conversion that fails leaves what ClientToScreen gave; no window, the point itself.
  fake = FakeDisplay{};
  fake.conversionsFail = true;
  ExpectPoint(PhysicalClientPoint(calls, kWindow, POINT{40, 20}), 340, 170, "a failed conversion");
  ExpectPoint(PhysicalClientPoint(calls, nullptr, POINT{40, 20}), 40, 20, "without a window");
}

TEST(PhysicalPoint, AMousePointOfAnUnawareWindowConvertsInAndOutOfContext) {
  const DpiCalls calls = FakeCalls();
  for (int thread : {kAwarenessUnaware, kAwarenessPerMonitor}) {
    fake = FakeDisplay{};
    fake.threadAwareness = thread;
    ExpectPoint(PhysicalMousePoint(calls, kWindow, POINT{200, 100}), 300, 150, "an unaware window's logical point");
    fake.windowAwareness = kAwarenessPerMonitor;
    ExpectPoint(PhysicalMousePoint(calls, kWindow, POINT{200, 100}), 200, 100, "an aware window's point stays");
    EXPECT_EQ(fake.conversions, 1) << "an aware window's point needs no conversion";
  }
  // Nothing to convert on: the physical cursor, unless the thread sees physical pixels.
  fake = FakeDisplay{};
  fake.conversionsFail = true;
  ExpectPoint(PhysicalMousePoint(calls, kWindow, POINT{200, 100}), 777, 888, "a failed conversion");
  fake = FakeDisplay{};
  ExpectPoint(PhysicalMousePoint(calls, nullptr, POINT{5000, -700}), 5000, -700, "an aware thread without a window");
  fake.threadAwareness = kAwarenessUnaware;
  ExpectPoint(PhysicalMousePoint(calls, nullptr, POINT{5000, -700}), 777, 888, "an unaware thread without a window");
  // A system without the conversions scales nothing.
  DpiCalls old = calls;
  old.logicalToPhysical = nullptr;
  old.windowAwareness = nullptr;
  fake = FakeDisplay{};
  ExpectPoint(PhysicalMousePoint(old, kWindow, POINT{200, 100}), 200, 100, "no conversion on the system");
}

TEST(PhysicalPoint, TheSystemsCallsPassAnAwareWindowsPointsUnchanged) {
  TestWindow window;
  ASSERT_TRUE(SetWindowPos(window.handle(), nullptr, 100, 120, 200, 150, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW));
  ASSERT_TRUE(SetCursorPos(30, 40));
  ExpectPoint(PhysicalMousePoint(nullptr, POINT{5000, -700}), 5000, -700,
              "the cursor must not stand in for a point that needs no conversion");
  ExpectPoint(PhysicalMousePoint(window.handle(), POINT{150, 160}), 150, 160, "a window's point");
  POINT expected{10, 20};
  ASSERT_TRUE(ClientToScreen(window.handle(), &expected));
  ExpectPoint(PhysicalClientPoint(window.handle(), POINT{10, 20}), expected.x, expected.y, "a caret");
}

}  // namespace
