// Which of the answers to "where is the caret?" a key's stars go to, when the
// window has no Win32 caret. The ways of asking are tried in a fixed order;
// the first answer that lies inside the focused window's rectangle wins.
// Empty answers, answers at the screen's origin (what a program without a
// caret reports) and answers outside the window are passed over; with none
// left the key makes no stars.
#pragma once
#include <cstddef>
#include <cstdint>

#include "cells/packed_point.h"

// A rectangle in screen coordinates, right and bottom excluded.
struct CaretRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

// The caret reports the top of the line; the key's point sits this far below it.
constexpr int32_t kCaretPointDrop = 8;

// How long a question may take, from asking until an answer is used.
constexpr uint32_t kCaretQuestionBoundMs = 50;

// Whether the answer can stand for the caret in this window: it has a
// height, is not the bare origin, and its top left lies inside the window.
bool CaretAnswerInside(const CaretRect& answer, const CaretRect& window);

// The index of the first answer inside the window, -1 when none is.
int FirstInsideAnswer(const CaretRect* answers, size_t count, const CaretRect& window);

// The key's point for a caret.
constexpr ScreenPoint KeyPointOfCaret(const CaretRect& caret) {
  return ScreenPoint{caret.left, caret.top + kCaretPointDrop};
}

// Whether an answer that comes `now` (a wrapping millisecond clock) to a
// question asked at `asked` is still in time.
constexpr bool CaretAnswerInTime(uint32_t asked, uint32_t now, uint32_t boundMs = kCaretQuestionBoundMs) {
  return now - asked <= boundMs;
}
