// The decisions of the mouse and keyboard hook procedures. Everything the
// procedures touch outside the event itself (the shared cells, the messages to
// the main window, the focus window, the caret and the input method) goes
// through HookPort, so the same rules run inside nivlet2.dll and in the tests.
#pragma once
#include <cstdint>

#include "cells/cell_names.h"
#include "cells/packed_point.h"

// The window messages the mouse procedure tells apart (the platform's numbers).
enum HookMouseMessage : uint32_t {
  HOOK_WM_NCMOUSEMOVE = 0x00A0,
  HOOK_WM_NCLBUTTONDOWN = 0x00A1,
  HOOK_WM_NCLBUTTONUP = 0x00A2,
  HOOK_WM_MOUSEMOVE = 0x0200,
  HOOK_WM_LBUTTONDOWN = 0x0201,
  HOOK_WM_LBUTTONUP = 0x0202,
  HOOK_WM_LBUTTONDBLCLK = 0x0203,
};

constexpr uint32_t kHookVirtualKeyReturn = 13;
// The caret reports the top of the line; the key's point sits just below it.
constexpr int32_t kKeyPointDrop = 8;

// What the mouse procedure uses of its event: the message, the cursor's screen
// point and the window that is to receive the message.
struct MouseEvent {
  uint32_t message;
  int32_t x;
  int32_t y;
  intptr_t target;
};

// Where the input method puts its windows, in the focus window's client
// coordinates; each 0 where it can't tell.
struct CompositionPlace {
  int32_t candidateLeft;
  int32_t candidateRight;
  int32_t compositionX;
};

class HookPort {
 public:
  // The cell's value, or 0 when it can't be read.
  virtual int32_t ReadCell(CellKey key) = 0;
  virtual void WriteCell(CellKey key, int32_t value) = 0;
  // Stores `desired` if the cell holds `expected`, in one step no other
  // process can split; returns what the cell held.
  virtual int32_t CompareExchangeCell(CellKey key, int32_t expected, int32_t desired) = 0;
  // Delivers a point message (wParam: serial) to the window and waits
  // (boundedly) until it is handled; 1 when the window took it in time, 0
  // when the wait ran out first (a send not received by then may be dropped).
  virtual int SendPoint(intptr_t window, uint32_t message, uint32_t serial, int32_t x, int32_t y) = 0;
  // Queues a point message (wParam: serial) without waiting; 1 when it was queued.
  virtual int PostPoint(intptr_t window, uint32_t message, uint32_t serial, int32_t x, int32_t y) = 0;
  // Queues a message whose lParam is a window handle, without waiting.
  virtual void PostWindow(intptr_t window, uint32_t message, intptr_t lParamWindow) = 0;
  // Milliseconds of a system-wide clock that wraps around.
  virtual uint32_t TickCount() = 0;

  // The calling thread's focus window, 0 when it has none.
  virtual intptr_t FocusWindow() = 0;
  // The caret in its window's client coordinates; 0 when there is none.
  virtual int CaretPosition(ScreenPoint* point) = 0;
  // 1 while the window's input method is open and composing; then where its
  // candidate area and composition window are.
  virtual int Composition(intptr_t window, CompositionPlace* place) = 0;
  virtual ScreenPoint ClientToScreen(intptr_t window, ScreenPoint point) = 0;

 protected:
  ~HookPort() = default;
};

// The movement rule: a step sends when it and the one before were both long,
// or when a fast movement suddenly stopped.
constexpr bool MovementRuleFires(int32_t prevDistance, int32_t distance) {
  return (prevDistance >= 25 && distance >= 25) ||
         (prevDistance >= 30 && distance <= prevDistance / 3);
}

// While composing, the key's point moves right of the candidate window, where
// the text is going to appear; without both a width and an x the caret's x
// stands. Worked out wide and kept within 32 bits, since the numbers come
// from whatever input method the other program uses.
constexpr int32_t ComposedCaretX(int32_t caretX, const CompositionPlace& place) {
  int64_t width = static_cast<int64_t>(place.candidateRight) - place.candidateLeft;
  if (width == 0 || place.compositionX == 0) return caretX;
  int64_t x = place.compositionX + width;
  return x > INT32_MAX ? INT32_MAX : x < INT32_MIN ? INT32_MIN : static_cast<int32_t>(x);
}

// Moves and keys are posted, never waited for. At most one move and one key
// wait in the program's queue: each kind's pending cell holds the tick at
// which it was posted until the program takes it. One that has waited this
// long counts as lost (the program ended, or never got it), so it cannot
// silence the hook.
constexpr uint32_t kPendingStaleMs = 500;

constexpr bool PendingBlocks(int32_t pending, uint32_t now) {
  return pending != 0 && now - static_cast<uint32_t>(pending) < kPendingStaleMs;
}

// The tick as the pending cell holds it; never 0, which means none.
constexpr int32_t PendingStamp(uint32_t now) { return now == 0 ? 1 : static_cast<int32_t>(now); }

// The mouse procedure's work for one event; the caller passes the event on
// afterwards, whatever happened here.
void ReactToMouse(HookPort& port, int code, const MouseEvent& event);

// The keyboard procedure's work for one event (keystroke flags: bit 31 is set
// while the key is being released); the caller passes the event on afterwards.
void ReactToKey(HookPort& port, int code, uint32_t virtualKey, uint32_t flags);
