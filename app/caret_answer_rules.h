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

// Which edge of a character's rectangle the caret stands on: the left edge of
// the character after it, or the right edge of the one before it.
enum class CaretEdge { kLeft, kRight };

// The caret a UI Automation text range stands for, from the range's bounding
// rectangles: a flat list of doubles, left, top, width and height per line,
// in physical screen pixels (an incomplete last rectangle is ignored). The
// first rectangle with a height gives the caret, a line of that height on the
// chosen edge, rounded to whole pixels; rectangles without a height, with a
// negative width or with a number that is not finite or lies beyond any
// screen are passed over. False when none is left: a degenerate range has
// no rectangles at all. Whether the caret lies in the window is the
// question's own rule (CaretAnswerInside).
bool CaretFromTextRectangles(const double* values, size_t count, CaretEdge edge, CaretRect* caret);

// The key's point for a caret.
constexpr ScreenPoint KeyPointOfCaret(const CaretRect& caret) {
  return ScreenPoint{caret.left, caret.top + kCaretPointDrop};
}

// Programs built on a web engine build their whole accessibility tree when
// asked and keep it while the asking goes on, which makes them several times
// slower (an editor among them switches into its screen-reader mode): their
// windows, told by class, are asked only the thread's caret unless the user
// allows more. Class names are compared without letter case.
bool IsWebEngineWindowClass(const char* className);

// Accessibility and UI Automation questions to one window come at most this
// often; a key in between makes no stars rather than wear the program down.
constexpr uint32_t kProgramQuestionSpacingMs = 250;

// The pace of those questions: the window asked last and when.
class ProgramQuestionPace {
 public:
  // Whether `window` may be asked at `now` (a wrapping millisecond clock);
  // when it may, the question counts as asked.
  bool Allows(intptr_t window, uint32_t now);

 private:
  bool asked_ = false;
  intptr_t window_ = 0;
  uint32_t at_ = 0;
};

// Whether an answer that comes `now` (a wrapping millisecond clock) to a
// question asked at `asked` is still in time.
constexpr bool CaretAnswerInTime(uint32_t asked, uint32_t now, uint32_t boundMs = kCaretQuestionBoundMs) {
  return now - asked <= boundMs;
}
