#include "app/caret_answer_rules.h"

bool CaretAnswerInside(const CaretRect& answer, const CaretRect& window) {
  // A caret may be a line with no width, but never one with no height.
  if (answer.bottom <= answer.top || answer.right < answer.left) return false;
  if (answer.left == 0 && answer.top == 0) return false;
  if (answer.left < window.left || answer.left >= window.right || answer.top < window.top ||
      answer.top >= window.bottom) {
    return false;
  }
  // Stars are never made at the origin, whatever the caret's height.
  const ScreenPoint point = KeyPointOfCaret(answer);
  return point.x != 0 || point.y != 0;
}

int FirstInsideAnswer(const CaretRect* answers, size_t count, const CaretRect& window) {
  for (size_t i = 0; i < count; ++i) {
    if (CaretAnswerInside(answers[i], window)) return static_cast<int>(i);
  }
  return -1;
}
