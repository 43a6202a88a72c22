#include "hook/hook_rules.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "cells/private_messages.h"

namespace {

struct Delivered {
  uint32_t message;
  intptr_t window;
  int64_t lParam;  // the packed point, or the window handle of a release
  bool posted;
  uint32_t serial = 0;  // a click's wParam
};

// Cells as plain numbers, deliveries as a list, and a caret the test sets up.
// By default the program takes each posted message before the next event
// comes (the pending cell is cleared at once); takenAtOnce = false leaves it.
class FakePort final : public HookPort {
 public:
  int32_t cells[CELL_COUNT] = {};
  std::vector<Delivered> delivered;
  bool takenAtOnce = true;
  bool postFails = false;
  bool sendTaken = true;  // false: the program did not take a sent click within the wait
  int32_t interloper = 0;  // written into a cell just before the next exchange
  uint32_t now = 5000;
  intptr_t focus = 0x5010;
  int caretFound = 1;
  ScreenPoint caret{40, 20};
  int composing = 0;
  CompositionPlace place{0, 0, 0};
  ScreenPoint clientOrigin{300, 200};

  int32_t ReadCell(CellKey key) override { return cells[key]; }
  void WriteCell(CellKey key, int32_t value) override { cells[key] = value; }
  int32_t CompareExchangeCell(CellKey key, int32_t expected, int32_t desired) override {
    if (interloper != 0) cells[key] = std::exchange(interloper, 0);
    int32_t held = cells[key];
    if (held == expected) cells[key] = desired;
    return held;
  }
  int SendPoint(intptr_t window, uint32_t message, uint32_t serial, int32_t x, int32_t y) override {
    delivered.push_back({message, window, PackPoint(x, y), false, serial});
    return sendTaken ? 1 : 0;
  }
  int PostPoint(intptr_t window, uint32_t message, uint32_t serial, int32_t x, int32_t y) override {
    if (postFails) return 0;
    delivered.push_back({message, window, PackPoint(x, y), true, serial});
    if (takenAtOnce) cells[message == PWM_HOOK_MOVE ? CELL_HOOKPENDING : CELL_KEYPENDING] = 0;
    return 1;
  }
  void PostWindow(intptr_t window, uint32_t message, intptr_t lParamWindow) override {
    delivered.push_back({message, window, lParamWindow, true});
  }
  uint32_t TickCount() override { return now; }
  intptr_t FocusWindow() override { return focus; }
  int CaretPosition(ScreenPoint* point) override {
    if (caretFound) *point = caret;
    return caretFound;
  }
  int Composition(intptr_t, CompositionPlace* reported) override {
    if (!composing) return 0;
    *reported = place;
    return 1;
  }
  ScreenPoint ClientToScreen(intptr_t window, ScreenPoint point) override {
    EXPECT_EQ(window, focus);
    return {point.x + clientOrigin.x, point.y + clientOrigin.y};
  }

  int Count(uint32_t message) const {
    int n = 0;
    for (const Delivered& d : delivered) n += d.message == message ? 1 : 0;
    return n;
  }
};

constexpr intptr_t kMainWindow = 0x1234;
constexpr intptr_t kOtherWindow = 0x7700;
constexpr int kAction = 0;
constexpr int kNoRemove = 3;

FakePort MousePort(int32_t click, int32_t move) {
  FakePort port;
  port.cells[CELL_MAINHWND] = static_cast<int32_t>(kMainWindow);
  port.cells[CELL_REACTMOUSECLICK] = click;
  port.cells[CELL_REACTMOUSEMOVE] = move;
  return port;
}

void Mouse(FakePort& port, uint32_t message, int32_t x = 10, int32_t y = 20,
           intptr_t target = kOtherWindow, int code = kAction) {
  ReactToMouse(port, code, MouseEvent{message, x, y, target});
}

TEST(MovementRule, FiresForTwoLongStepsOrASuddenStop) {
  const struct { int32_t prev, dist; bool fires; } cases[] = {
      {0, 40, false}, {40, 30, true}, {40, 13, true},  {40, 14, false},
      {27, 5, false}, {24, 100, false}, {25, 25, true}, {30, 0, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MovementRuleFires(c.prev, c.dist), c.fires) << c.prev << "/" << c.dist;

    // The same case through the procedure: a stored step of prev, then a step of dist.
    FakePort port = MousePort(0, 1);
    port.cells[CELL_PREVDISTANCE] = c.prev;
    port.cells[CELL_MOUSEX] = 100;
    port.cells[CELL_MOUSEY] = 100;
    Mouse(port, HOOK_WM_MOUSEMOVE, 100 + c.dist, 100);
    EXPECT_EQ(port.Count(PWM_HOOK_MOVE), c.fires ? 1 : 0) << c.prev << "/" << c.dist;
    EXPECT_EQ(port.cells[CELL_PREVDISTANCE], c.dist);
    if (c.fires) {
      ASSERT_EQ(port.delivered.size(), 1u);
      EXPECT_EQ(port.delivered[0].window, kMainWindow);
      EXPECT_EQ(port.delivered[0].lParam, PackPoint(100 + c.dist, 100));
      EXPECT_TRUE(port.delivered[0].posted) << "a move must not wait for star making";
      EXPECT_EQ(port.cells[CELL_DIRECTIONX], c.dist);
    } else {
      EXPECT_EQ(port.cells[CELL_DIRECTIONX], 0) << "direction kept when nothing is sent";
    }
  }
}

TEST(MouseMove, MeasuresStepsAsTheSumOfBothAxesFromTheLastPoint) {
  FakePort port = MousePort(0, 1);
  Mouse(port, HOOK_WM_MOUSEMOVE, 30, 10);     // from (0, 0): 40, nothing stored before
  Mouse(port, HOOK_WM_NCMOUSEMOVE, 10, 0);    // 20 + 10 = 30 after 40: sends
  Mouse(port, HOOK_WM_MOUSEMOVE, 12, 3);      // 5 after 30: a sudden stop, sends
  ASSERT_EQ(port.Count(PWM_HOOK_MOVE), 2);
  EXPECT_EQ(port.delivered[0].lParam, PackPoint(10, 0));
  EXPECT_EQ(port.delivered[1].lParam, PackPoint(12, 3));
  EXPECT_EQ(port.cells[CELL_DIRECTIONX], 2);
  EXPECT_EQ(port.cells[CELL_DIRECTIONY], 3);
  EXPECT_EQ(port.cells[CELL_PREVDISTANCE], 5);
}

TEST(MouseMove, AMovePeekedBeforeItIsTakenCountsOnce) {
  // Steady steps of 26 px: each is long after a long one. Seen twice each
  // (peeked, then taken), the second sighting would be a step of 0.
  FakePort port = MousePort(0, 1);
  for (int32_t x = 26; x <= 26 * 5; x += 26) {
    Mouse(port, HOOK_WM_MOUSEMOVE, x, 0, kOtherWindow, kNoRemove);
    Mouse(port, HOOK_WM_MOUSEMOVE, x, 0, kOtherWindow, kAction);
    port.cells[CELL_HOOKPENDING] = 0;  // the program took the move
  }
  EXPECT_EQ(port.Count(PWM_HOOK_MOVE), 4) << "every step after the first is long after a long one";
  EXPECT_EQ(port.cells[CELL_PREVDISTANCE], 26);
  EXPECT_EQ(port.cells[CELL_MOUSEX], 130);
}

TEST(MouseMove, WithMoveReactionOffFollowsThePointButNeverTheDistance) {
  FakePort port = MousePort(1, 0);
  port.cells[CELL_PREVDISTANCE] = 33;
  Mouse(port, HOOK_WM_MOUSEMOVE, 50, 60);
  Mouse(port, HOOK_WM_MOUSEMOVE, 20, 100);
  EXPECT_EQ(port.cells[CELL_MOUSEX], 20);
  EXPECT_EQ(port.cells[CELL_MOUSEY], 100);
  EXPECT_EQ(port.cells[CELL_DIRECTIONX], -30);
  EXPECT_EQ(port.cells[CELL_DIRECTIONY], 40);
  EXPECT_EQ(port.cells[CELL_PREVDISTANCE], 33);
  EXPECT_TRUE(port.delivered.empty());
}

TEST(MouseMove, FarApartPointsFromAnyCellNeitherOverflowNorSend) {
  FakePort port = MousePort(0, 1);
  port.cells[CELL_MOUSEX] = INT32_MIN;
  port.cells[CELL_MOUSEY] = INT32_MIN;
  port.cells[CELL_PREVDISTANCE] = 10;
  Mouse(port, HOOK_WM_MOUSEMOVE, INT32_MAX, INT32_MAX);
  EXPECT_EQ(port.cells[CELL_PREVDISTANCE], INT32_MAX);
  EXPECT_TRUE(port.delivered.empty());
}

TEST(ClickLatch, PressPressReleaseGivesOneClickAndOneButtonUp) {
  FakePort port = MousePort(1, 0);
  Mouse(port, HOOK_WM_LBUTTONDOWN, 5, 6);
  EXPECT_EQ(port.cells[CELL_MOUSEDOWN], 1);
  Mouse(port, HOOK_WM_LBUTTONDOWN, 7, 8);
  Mouse(port, HOOK_WM_LBUTTONUP, 7, 8, 0x4444);
  ASSERT_EQ(port.delivered.size(), 2u);
  EXPECT_EQ(port.delivered[0].message, PWM_HOOK_CLICK);
  EXPECT_EQ(port.delivered[0].lParam, PackPoint(5, 6));
  EXPECT_EQ(port.delivered[0].window, kMainWindow);
  EXPECT_EQ(port.delivered[1].message, PWM_HOOK_BUTTONUP);
  EXPECT_TRUE(port.delivered[1].posted);
  EXPECT_EQ(port.delivered[1].lParam, 0x4444);  // the window under the release
  EXPECT_EQ(port.cells[CELL_MOUSEDOWN], 0);
}

// A program busy beyond the send's bounded wait (on a loaded machine) would
// lose the click: the send not taken in time is posted under its serial, so
// the program makes the click's stars later, and only once.
TEST(ClickLatch, AClickTheProgramDidNotTakeInTimeIsPostedUnderItsSerial) {
  FakePort port = MousePort(1, 0);
  Mouse(port, HOOK_WM_LBUTTONDOWN, 5, 6);
  Mouse(port, HOOK_WM_LBUTTONUP, 5, 6);
  port.sendTaken = false;
  Mouse(port, HOOK_WM_LBUTTONDOWN, 7, 8);
  ASSERT_EQ(port.delivered.size(), 4u);
  EXPECT_FALSE(port.delivered[0].posted);
  EXPECT_EQ(port.delivered[0].serial, 1u);
  EXPECT_EQ(port.delivered[2].message, PWM_HOOK_CLICK);
  EXPECT_FALSE(port.delivered[2].posted);
  EXPECT_EQ(port.delivered[2].serial, 2u) << "each click a serial of its own";
  EXPECT_EQ(port.delivered[3].message, PWM_HOOK_CLICK);
  EXPECT_TRUE(port.delivered[3].posted) << "the click not taken in time is posted";
  EXPECT_EQ(port.delivered[3].serial, 2u) << "under the same serial, so it is taken once";
  EXPECT_EQ(port.delivered[3].lParam, PackPoint(7, 8));

  // The serial wraps past 0, which means none.
  FakePort wrapping = MousePort(1, 0);
  wrapping.cells[CELL_CLICKSERIAL] = -1;
  Mouse(wrapping, HOOK_WM_LBUTTONDOWN);
  ASSERT_EQ(wrapping.delivered.size(), 1u);
  EXPECT_EQ(wrapping.delivered[0].serial, 1u);
}

TEST(ClickLatch, DoubleClickAndTitleBarPressesEachCountOnce) {
  FakePort port = MousePort(1, 0);
  Mouse(port, HOOK_WM_LBUTTONDOWN);
  Mouse(port, HOOK_WM_LBUTTONUP);
  Mouse(port, HOOK_WM_LBUTTONDBLCLK);
  Mouse(port, HOOK_WM_LBUTTONUP);
  EXPECT_EQ(port.Count(PWM_HOOK_CLICK), 2);
  EXPECT_EQ(port.Count(PWM_HOOK_BUTTONUP), 2);

  // A press released on a title bar clears the latch too, and posts nothing:
  // the next press is a click again.
  Mouse(port, HOOK_WM_NCLBUTTONDOWN);
  Mouse(port, HOOK_WM_NCLBUTTONUP);
  EXPECT_EQ(port.cells[CELL_MOUSEDOWN], 0);
  Mouse(port, HOOK_WM_NCLBUTTONDOWN);
  Mouse(port, HOOK_WM_NCLBUTTONUP);
  Mouse(port, HOOK_WM_LBUTTONDOWN);
  EXPECT_EQ(port.Count(PWM_HOOK_CLICK), 5);
  EXPECT_EQ(port.Count(PWM_HOOK_BUTTONUP), 2);
  EXPECT_EQ(port.cells[CELL_MOUSEDOWN], 1);

  // With both reactions off even a title bar release is left alone.
  FakePort off = MousePort(0, 0);
  off.cells[CELL_MOUSEDOWN] = 1;
  Mouse(off, HOOK_WM_NCLBUTTONUP);
  EXPECT_EQ(off.cells[CELL_MOUSEDOWN], 1);
}

TEST(ClickLatch, ReleaseWithOnlyMoveReactionStillClearsAndPosts) {
  FakePort port = MousePort(0, 1);
  port.cells[CELL_MOUSEDOWN] = 1;
  Mouse(port, HOOK_WM_LBUTTONDOWN);
  EXPECT_EQ(port.Count(PWM_HOOK_CLICK), 0);
  Mouse(port, HOOK_WM_LBUTTONUP);
  EXPECT_EQ(port.cells[CELL_MOUSEDOWN], 0);
  EXPECT_EQ(port.Count(PWM_HOOK_BUTTONUP), 1);
}

TEST(MouseHook, BothReactionsOffDoesNothingAtAll) {
  FakePort port = MousePort(0, 0);
  port.cells[CELL_MOUSEDOWN] = 1;
  Mouse(port, HOOK_WM_MOUSEMOVE, 300, 300);
  Mouse(port, HOOK_WM_LBUTTONDOWN);
  Mouse(port, HOOK_WM_LBUTTONUP);
  EXPECT_TRUE(port.delivered.empty());
  EXPECT_EQ(port.cells[CELL_MOUSEDOWN], 1);
  EXPECT_EQ(port.cells[CELL_MOUSEX], 0);
}

TEST(MouseHook, EventsForTheMainWindowOrWithNegativeCodesPassUntouched) {
  FakePort port = MousePort(1, 1);
  port.cells[CELL_MOUSEDOWN] = 1;
  Mouse(port, HOOK_WM_LBUTTONUP, 1, 1, kMainWindow);
  Mouse(port, HOOK_WM_MOUSEMOVE, 90, 90, kMainWindow);
  Mouse(port, HOOK_WM_LBUTTONUP, 1, 1, kOtherWindow, -1);
  EXPECT_TRUE(port.delivered.empty());
  EXPECT_EQ(port.cells[CELL_MOUSEDOWN], 1);
  EXPECT_EQ(port.cells[CELL_MOUSEX], 0);

  // HC_NOREMOVE is handled like HC_ACTION.
  Mouse(port, HOOK_WM_LBUTTONUP, 1, 1, kOtherWindow, kNoRemove);
  EXPECT_EQ(port.Count(PWM_HOOK_BUTTONUP), 1);
}

TEST(MouseHook, OtherButtonsAndTheWheelSendNothing) {
  FakePort port = MousePort(1, 1);
  for (uint32_t message : {0x0204u, 0x0205u, 0x0207u, 0x0208u, 0x020Au, 0x00A4u}) {
    Mouse(port, message);
  }
  EXPECT_TRUE(port.delivered.empty());
  EXPECT_EQ(port.cells[CELL_MOUSEDOWN], 0);
}

TEST(MouseHook, NegativeCoordinatesTravelAsTheirLow16Bits) {
  FakePort port = MousePort(1, 0);
  Mouse(port, HOOK_WM_LBUTTONDOWN, -1920, -5);
  ASSERT_EQ(port.delivered.size(), 1u);
  EXPECT_EQ(port.delivered[0].lParam, 0xFFFBF880);
  ScreenPoint back = UnpackPoint(static_cast<uint64_t>(port.delivered[0].lParam));
  EXPECT_EQ(back.x, -1920);
  EXPECT_EQ(back.y, -5);
}

TEST(MouseHook, AMainWindowHandleWithItsTopBitSetStillMatches) {
  FakePort port = MousePort(1, 0);
  // Handles travel as their low 32 bits and come back sign-extended.
  port.cells[CELL_MAINHWND] = static_cast<int32_t>(0xFFFF8010u);
  Mouse(port, HOOK_WM_LBUTTONDOWN, 1, 1, static_cast<intptr_t>(static_cast<int32_t>(0xFFFF8010u)));
  EXPECT_TRUE(port.delivered.empty());
}

FakePort KeyPort(int32_t react, int32_t enterOnly) {
  FakePort port;
  port.cells[CELL_MAINHWND] = static_cast<int32_t>(kMainWindow);
  port.cells[CELL_REACTKEY] = react;
  port.cells[CELL_REACTENTERKEY] = enterOnly;
  return port;
}

constexpr uint32_t kPressed = 0x001C0001;   // repeat 1, scan code, down
constexpr uint32_t kRepeated = 0x401C0001;  // bit 30: was down already
constexpr uint32_t kReleased = 0xC01C0001;  // bit 31: going up

TEST(KeyHook, SendsTheCaretsScreenPointEightBelow) {
  FakePort port = KeyPort(1, 0);
  ReactToKey(port, kAction, 'A', kPressed);
  ASSERT_EQ(port.delivered.size(), 1u);
  EXPECT_EQ(port.delivered[0].message, PWM_HOOK_KEY);
  EXPECT_EQ(port.delivered[0].window, kMainWindow);
  EXPECT_TRUE(port.delivered[0].posted) << "a key must not wait for star making";
  EXPECT_EQ(port.delivered[0].lParam, PackPoint(340, 228));
}

TEST(KeyHook, EnterOnlyModeLetsJustReturnThroughAndAllKeysModeEveryPress) {
  FakePort enterOnly = KeyPort(1, 1);
  for (uint32_t key : {0x41u /* A */, 0x10u /* Shift */, 0x20u, 0x0Du}) ReactToKey(enterOnly, kAction, key, kPressed);
  EXPECT_EQ(enterOnly.Count(PWM_HOOK_KEY), 1);

  FakePort allKeys = KeyPort(1, 0);
  ReactToKey(allKeys, kAction, 'A', kPressed);
  ReactToKey(allKeys, kAction, 'A', kRepeated);
  ReactToKey(allKeys, kAction, 0x10u, kPressed);
  EXPECT_EQ(allKeys.Count(PWM_HOOK_KEY), 3);

  FakePort off = KeyPort(0, 0);
  ReactToKey(off, kAction, 0x0Du, kPressed);
  EXPECT_TRUE(off.delivered.empty());
}

TEST(KeyHook, ReleasesAndNonActionCodesPassUntouched) {
  FakePort port = KeyPort(1, 0);
  ReactToKey(port, kAction, 0x0Du, kReleased);
  ReactToKey(port, kNoRemove, 0x0Du, kPressed);
  ReactToKey(port, -1, 0x0Du, kPressed);
  EXPECT_TRUE(port.delivered.empty());
}

TEST(KeyHook, NoFocusWindowNoCaretOrACaretAtTheOriginReportAKeyWithoutCaret) {
  FakePort noFocus = KeyPort(1, 0);
  noFocus.focus = 0;
  FakePort noCaret = KeyPort(1, 0);
  noCaret.caretFound = 0;
  FakePort origin = KeyPort(1, 0);
  origin.caret = {0, 0};
  for (FakePort* port : {&noFocus, &noCaret, &origin}) {
    ReactToKey(*port, kAction, 'A', kPressed);
    ASSERT_EQ(port->delivered.size(), 1u);
    EXPECT_EQ(port->delivered[0].message, PWM_HOOK_KEY_NO_CARET);
    EXPECT_EQ(port->delivered[0].window, kMainWindow);
    EXPECT_EQ(port->delivered[0].lParam, 0) << "a key without caret carries no point";
    EXPECT_TRUE(port->delivered[0].posted);
  }

  FakePort onTheLeftEdge = KeyPort(1, 0);
  onTheLeftEdge.caret = {0, 16};
  ReactToKey(onTheLeftEdge, kAction, 'A', kPressed);
  EXPECT_EQ(onTheLeftEdge.Count(PWM_HOOK_KEY), 1);
  EXPECT_EQ(onTheLeftEdge.Count(PWM_HOOK_KEY_NO_CARET), 0);

  // Enter-only mode and a switched-off key hook hold for these keys too.
  FakePort enterOnly = KeyPort(1, 1);
  enterOnly.caretFound = 0;
  ReactToKey(enterOnly, kAction, 'A', kPressed);
  EXPECT_TRUE(enterOnly.delivered.empty());
}

TEST(KeyHook, AKeyWithoutCaretTakesTheKeysOneTurn) {
  // While one key of either kind waits, the next of either kind is merged into it.
  FakePort port = KeyPort(1, 0);
  port.takenAtOnce = false;
  port.caretFound = 0;
  ReactToKey(port, kAction, 'A', kPressed);
  port.caretFound = 1;
  ReactToKey(port, kAction, 'B', kPressed);
  EXPECT_EQ(port.delivered.size(), 1u);
  EXPECT_NE(port.cells[CELL_KEYPENDING], 0);
  EXPECT_EQ(port.cells[CELL_HOOKPENDING], 0) << "moves keep their own turn";
  port.cells[CELL_KEYPENDING] = 0;  // the program took it
  ReactToKey(port, kAction, 'B', kPressed);
  EXPECT_EQ(port.Count(PWM_HOOK_KEY), 1);

  port.now += kPendingStaleMs;  // a lost one does not silence the hook
  port.caretFound = 0;
  ReactToKey(port, kAction, 'C', kPressed);
  EXPECT_EQ(port.Count(PWM_HOOK_KEY_NO_CARET), 2);
}

TEST(KeyHook, WhileComposingThePointMovesBesideTheCandidateWindow) {
  FakePort port = KeyPort(1, 0);
  port.composing = 1;
  port.place = {500, 620, 64};
  ReactToKey(port, kAction, 'K', kPressed);
  // x from the composition window and candidate area (client), y from the caret.
  EXPECT_EQ(port.delivered.at(0).lParam, PackPoint(64 + 120 + 300, 20 + 8 + 200));

  // Without one of the two numbers the caret's own x stands.
  FakePort noCandidate = KeyPort(1, 0);
  noCandidate.composing = 1;
  noCandidate.place = {0, 0, 64};
  ReactToKey(noCandidate, kAction, 'K', kPressed);
  EXPECT_EQ(noCandidate.delivered.at(0).lParam, PackPoint(40 + 300, 28 + 200));
}

TEST(KeyHook, CandidateNumbersFromAnyInputMethodNeitherOverflowNorWrap) {
  const struct { CompositionPlace place; int32_t x; } cases[] = {
      {{INT32_MIN, INT32_MAX, 10}, INT32_MAX},      // width 2^32 - 1: kept at the edge, not 9
      {{0, 100, INT32_MAX - 50}, INT32_MAX},        // past the top: kept at the edge
      {{100, 0, INT32_MIN + 50}, INT32_MIN},        // a reversed area past the bottom
      {{-20, 20, -30}, 10},                         // negative numbers work as numbers
      {{INT32_MAX, INT32_MAX, 77}, 40},             // no width: the caret's x
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ComposedCaretX(40, c.place), c.x) << c.place.candidateLeft << ".." << c.place.candidateRight;
  }
}

// A port whose program has not taken its messages yet.
FakePort SlowProgram(FakePort port) {
  port.takenAtOnce = false;
  return port;
}

void FastMove(FakePort& port, int32_t x) { Mouse(port, HOOK_WM_MOUSEMOVE, x, 100); }

TEST(PendingInput, AtMostOneMoveWaitsForTheProgram) {
  FakePort port = SlowProgram(MousePort(0, 1));
  port.cells[CELL_REACTKEY] = 1;
  for (int32_t x = 40; x <= 4000; x += 40) FastMove(port, x);
  ASSERT_EQ(port.delivered.size(), 1u) << "a flood must not fill the program's queue";
  EXPECT_EQ(port.delivered[0].message, PWM_HOOK_MOVE);
  EXPECT_EQ(port.delivered[0].lParam, PackPoint(80, 100));
  EXPECT_EQ(port.cells[CELL_HOOKPENDING], 5000);
  // The movement bookkeeping went on meanwhile.
  EXPECT_EQ(port.cells[CELL_MOUSEX], 4000);

  // A key takes a turn of its own: it is posted even while a move waits.
  ReactToKey(port, kAction, 'A', kPressed);
  ASSERT_EQ(port.delivered.size(), 2u);
  EXPECT_EQ(port.delivered[1].message, PWM_HOOK_KEY);
  EXPECT_TRUE(port.delivered[1].posted);
  EXPECT_EQ(port.cells[CELL_KEYPENDING], 5000);
  port.cells[CELL_KEYPENDING] = 0;

  // Once the program has taken the move, the next one goes.
  FastMove(port, 4040);
  EXPECT_EQ(port.delivered.size(), 2u);
  port.cells[CELL_HOOKPENDING] = 0;
  FastMove(port, 4080);
  EXPECT_EQ(port.Count(PWM_HOOK_MOVE), 2);
}

// A held key or a key-sending tool: while one key report waits, the keys
// after it are merged into it, and a move still gets its own turn.
TEST(PendingInput, KeysThatComeWhileOneWaitsAreMergedIntoIt) {
  FakePort port = SlowProgram(KeyPort(1, 0));
  port.cells[CELL_REACTMOUSEMOVE] = 1;
  for (int i = 0; i < 1000; ++i) ReactToKey(port, kAction, 'A', i == 0 ? kPressed : kRepeated);
  ASSERT_EQ(port.Count(PWM_HOOK_KEY), 1) << "a flood of keys must not fill the program's queue";
  EXPECT_EQ(port.cells[CELL_KEYPENDING], 5000);

  port.cells[CELL_PREVDISTANCE] = 40;
  FastMove(port, 40);
  EXPECT_EQ(port.Count(PWM_HOOK_MOVE), 1) << "a waiting key holds up no move";

  // Taken, the next key goes; one never taken stops counting after half a second.
  port.cells[CELL_KEYPENDING] = 0;
  ReactToKey(port, kAction, 'B', kPressed);
  EXPECT_EQ(port.Count(PWM_HOOK_KEY), 2);
  port.now += kPendingStaleMs;
  ReactToKey(port, kAction, 'C', kPressed);
  EXPECT_EQ(port.Count(PWM_HOOK_KEY), 3);

  // A key report that could not be queued leaves the turn free.
  FakePort failing = SlowProgram(KeyPort(1, 0));
  failing.postFails = true;
  ReactToKey(failing, kAction, 'A', kPressed);
  EXPECT_EQ(failing.cells[CELL_KEYPENDING], 0);
}

TEST(PendingInput, AMessageNeverTakenStopsCountingAfterHalfASecond) {
  FakePort port = SlowProgram(MousePort(0, 1));
  port.cells[CELL_PREVDISTANCE] = 40;
  port.cells[CELL_HOOKPENDING] = 5000;
  port.now = 5000 + 499;
  FastMove(port, 40);
  EXPECT_TRUE(port.delivered.empty());
  port.now = 5000 + 500;
  FastMove(port, 80);
  ASSERT_EQ(port.delivered.size(), 1u);
  EXPECT_EQ(port.cells[CELL_HOOKPENDING], 5500);

  // Across the clock's wrap-around: from 0xFFFFFF00, 0xF0 is 496 ms later and
  // 0x100 is 512 ms later.
  port.cells[CELL_HOOKPENDING] = static_cast<int32_t>(0xFFFFFF00u);
  port.now = 0xF0;
  FastMove(port, 120);
  EXPECT_EQ(port.delivered.size(), 1u) << "496 ms is not stale";
  port.now = 0x100;
  FastMove(port, 160);
  EXPECT_EQ(port.delivered.size(), 2u);

  // A tick of 0 is stored as 1: 0 in the cell means none pending.
  port.cells[CELL_HOOKPENDING] = 0;
  port.now = 0;
  FastMove(port, 200);
  EXPECT_EQ(port.cells[CELL_HOOKPENDING], 1);
}

TEST(PendingInput, AFailedPostOrALostRaceLeavesNoTurnTaken) {
  FakePort failing = SlowProgram(MousePort(0, 1));
  failing.cells[CELL_PREVDISTANCE] = 40;
  failing.postFails = true;
  FastMove(failing, 40);
  EXPECT_EQ(failing.cells[CELL_HOOKPENDING], 0) << "a message never queued must not block the next";
  failing.postFails = false;
  FastMove(failing, 80);
  EXPECT_EQ(failing.Count(PWM_HOOK_MOVE), 1);

  // Another input thread posted between the read and the exchange: it holds the turn.
  FakePort racing = SlowProgram(MousePort(0, 1));
  racing.cells[CELL_PREVDISTANCE] = 40;
  racing.interloper = 4990;
  FastMove(racing, 40);
  EXPECT_TRUE(racing.delivered.empty());
  EXPECT_EQ(racing.cells[CELL_HOOKPENDING], 4990);
}

}  // namespace
