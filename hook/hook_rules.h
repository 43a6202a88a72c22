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

class HookPort {
 public:
  // The cell's value, or 0 when it can't be read.
  virtual int32_t ReadCell(CellKey key) = 0;
  virtual void WriteCell(CellKey key, int32_t value) = 0;
  // Delivers a point message to the window and waits until it is handled.
  virtual void SendPoint(intptr_t window, uint32_t message, int32_t x, int32_t y) = 0;
  // Queues a message whose lParam is a window handle, without waiting.
  virtual void PostWindow(intptr_t window, uint32_t message, intptr_t lParamWindow) = 0;

  // The calling thread's focus window, 0 when it has none.
  virtual intptr_t FocusWindow() = 0;
  // The caret in its window's client coordinates; 0 when there is none.
  virtual int CaretPosition(ScreenPoint* point) = 0;
  // 1 while the window's input method is open and composing; then the
  // candidate area's width and the composition window's x, each 0 when the
  // input method can't tell.
  virtual int Composition(intptr_t window, int32_t* candidateWidth, int32_t* compositionX) = 0;
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
// the text is going to appear; without both numbers the caret's x stands.
constexpr int32_t ComposedCaretX(int32_t caretX, int32_t candidateWidth, int32_t compositionX) {
  return candidateWidth != 0 && compositionX != 0 ? compositionX + candidateWidth : caretX;
}

// The mouse procedure's work for one event; the caller passes the event on
// afterwards, whatever happened here.
void ReactToMouse(HookPort& port, int code, const MouseEvent& event);

// The keyboard procedure's work for one event (keystroke flags: bit 31 is set
// while the key is being released); the caller passes the event on afterwards.
void ReactToKey(HookPort& port, int code, uint32_t virtualKey, uint32_t flags);
