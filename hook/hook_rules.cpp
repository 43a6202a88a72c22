#include "hook/hook_rules.h"

#include "cells/private_messages.h"

namespace {

constexpr int kHookAction = 0;  // HC_ACTION

// A cell holds a handle's low 32 bits; it comes back sign-extended.
intptr_t CellWindow(int32_t value) { return static_cast<intptr_t>(value); }

// Step length as |dx| + |dy|, computed wide and capped, since the old point
// comes from a cell any process may have written.
int32_t StepDistance(int32_t x, int32_t y, int32_t oldX, int32_t oldY) {
  int64_t dx = static_cast<int64_t>(x) - oldX;
  int64_t dy = static_cast<int64_t>(y) - oldY;
  int64_t sum = (dx < 0 ? -dx : dx) + (dy < 0 ? -dy : dy);
  return sum > INT32_MAX ? INT32_MAX : static_cast<int32_t>(sum);
}

// A difference that wraps instead of overflowing.
int32_t StepComponent(int32_t value, int32_t old) {
  return static_cast<int32_t>(static_cast<uint32_t>(value) - static_cast<uint32_t>(old));
}

// Posts the point unless a message of its kind (its pending cell) still
// waits for the program.
void PostPointOnce(HookPort& port, CellKey pendingCell, intptr_t window, uint32_t message, int32_t x, int32_t y) {
  int32_t pending = port.ReadCell(pendingCell);
  uint32_t now = port.TickCount();
  if (PendingBlocks(pending, now)) return;
  int32_t stamp = PendingStamp(now);
  // Another input thread may have posted since the read: then it holds the turn.
  if (port.CompareExchangeCell(pendingCell, pending, stamp) != pending) return;
  if (port.PostPoint(window, message, 0, x, y) == 0) port.CompareExchangeCell(pendingCell, stamp, 0);
}

// The next click serial, shared by every process: never 0, which means none.
uint32_t NextClickSerial(HookPort& port) {
  for (;;) {
    const int32_t last = port.ReadCell(CELL_CLICKSERIAL);
    int32_t next = static_cast<int32_t>(static_cast<uint32_t>(last) + 1u);
    if (next == 0) next = 1;
    if (port.CompareExchangeCell(CELL_CLICKSERIAL, last, next) == last) return static_cast<uint32_t>(next);
  }
}

void ReactToMovement(HookPort& port, int32_t move, intptr_t mainWindow, const MouseEvent& event) {
  int32_t oldX = port.ReadCell(CELL_MOUSEX);
  int32_t oldY = port.ReadCell(CELL_MOUSEY);
  port.WriteCell(CELL_MOUSEX, event.x);
  port.WriteCell(CELL_MOUSEY, event.y);
  if (move != 0) {
    int32_t prevDistance = port.ReadCell(CELL_PREVDISTANCE);
    int32_t distance = StepDistance(event.x, event.y, oldX, oldY);
    port.WriteCell(CELL_PREVDISTANCE, distance);
    if (!MovementRuleFires(prevDistance, distance)) return;
    PostPointOnce(port, CELL_HOOKPENDING, mainWindow, PWM_HOOK_MOVE, event.x, event.y);
  }
  port.WriteCell(CELL_DIRECTIONX, StepComponent(event.x, oldX));
  port.WriteCell(CELL_DIRECTIONY, StepComponent(event.y, oldY));
}

}  // namespace

void ReactToMouse(HookPort& port, int code, const MouseEvent& event) {
  if (code < 0) return;
  intptr_t mainWindow = CellWindow(port.ReadCell(CELL_MAINHWND));
  // The program's own main window is left alone, even its releases.
  if (event.target == mainWindow) return;
  int32_t click = port.ReadCell(CELL_REACTMOUSECLICK);
  int32_t move = port.ReadCell(CELL_REACTMOUSEMOVE);
  if (click == 0 && move == 0) return;

  switch (event.message) {
    case HOOK_WM_MOUSEMOVE:
    case HOOK_WM_NCMOUSEMOVE:
      // A move only peeked at comes again when it is taken: counted then,
      // or every step would count twice (the second time as a standstill).
      if (code != kHookAction) return;
      ReactToMovement(port, move, mainWindow, event);
      return;
    case HOOK_WM_LBUTTONDOWN:
    case HOOK_WM_LBUTTONDBLCLK:
    case HOOK_WM_NCLBUTTONDOWN:
      // The latch lets one press through until the button is released.
      if (click != 0 && port.ReadCell(CELL_MOUSEDOWN) == 0) {
        port.WriteCell(CELL_MOUSEDOWN, 1);
        // A program too busy to take the click within the bounded wait still
        // gets it, later and in its queue, rather than never.
        const uint32_t serial = NextClickSerial(port);
        if (port.SendPoint(mainWindow, PWM_HOOK_CLICK, serial, event.x, event.y) == 0) {
          port.PostPoint(mainWindow, PWM_HOOK_CLICK, serial, event.x, event.y);
        }
      }
      return;
    case HOOK_WM_NCLBUTTONUP:
      // A press released on a title bar or border ends the press too, or the
      // next click would be swallowed. It is no release over a star: nothing to post.
      port.WriteCell(CELL_MOUSEDOWN, 0);
      return;
    case HOOK_WM_LBUTTONUP:
      port.WriteCell(CELL_MOUSEDOWN, 0);
      port.PostWindow(mainWindow, PWM_HOOK_BUTTONUP, event.target);
      return;
    default:
      return;
  }
}

void ReactToKey(HookPort& port, int code, uint32_t virtualKey, uint32_t flags) {
  if (code != kHookAction) return;
  if ((flags & 0x80000000u) != 0) return;  // a release
  if (port.ReadCell(CELL_REACTKEY) == 0) return;
  if (port.ReadCell(CELL_REACTENTERKEY) != 0 && virtualKey != kHookVirtualKeyReturn) return;
  intptr_t mainWindow = CellWindow(port.ReadCell(CELL_MAINHWND));

  // Without a Win32 caret (a caret at the very origin is taken for none)
  // the key still reports, so the program can ask the window other ways;
  // the question is never asked here. It takes the key's turn.
  intptr_t focus = port.FocusWindow();
  ScreenPoint point{0, 0};
  if (focus == 0 || port.CaretPosition(&point) == 0 || (point.x == 0 && point.y == 0)) {
    PostPointOnce(port, CELL_KEYPENDING, mainWindow, PWM_HOOK_KEY_NO_CARET, 0, 0);
    return;
  }

  CompositionPlace place{0, 0, 0};
  if (port.Composition(focus, &place) != 0) point.x = ComposedCaretX(point.x, place);
  point = port.ClientToScreen(focus, point);
  int32_t belowCaret = static_cast<int32_t>(static_cast<uint32_t>(point.y) + kKeyPointDrop);
  // Keys take a turn of their own, apart from moves, so none is lost behind
  // a move the program has not taken yet; a key that comes while another
  // waits is merged into that one.
  PostPointOnce(port, CELL_KEYPENDING, mainWindow, PWM_HOOK_KEY, point.x, belowCaret);
}
