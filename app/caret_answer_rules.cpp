#include "app/caret_answer_rules.h"

#include <algorithm>
#include <cmath>

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

bool CaretFromTextRectangles(const double* values, size_t count, CaretEdge edge, CaretRect* caret) {
  // Far past any desktop, yet a sum of two stays within 32 bits.
  constexpr double kLimit = 1 << 29;
  const auto usable = [](double value) { return value >= -kLimit && value <= kLimit; };  // false for NaN too
  for (size_t i = 0; i + 4 <= count; i += 4) {
    const double left = values[i], top = values[i + 1], width = values[i + 2], height = values[i + 3];
    if (!usable(left) || !usable(top) || !usable(width) || !usable(height) || width < 0 || height <= 0) continue;
    const double x = edge == CaretEdge::kLeft ? left : left + width;
    const int32_t caretX = static_cast<int32_t>(std::llround(x));
    const int32_t caretTop = static_cast<int32_t>(std::llround(top));
    // A line thinner than a pixel still has one.
    const int32_t caretBottom = std::max(static_cast<int32_t>(std::llround(top + height)), caretTop + 1);
    *caret = CaretRect{caretX, caretTop, caretX, caretBottom};
    return true;
  }
  return false;
}

bool IsWebEngineWindowClass(const char* className) {
  if (className == nullptr) return false;
  // The engine's top-level windows ("Chrome_WidgetWin_0", "_1" ...) and the
  // one that shows a page.
  static constexpr const char* kPrefixes[] = {"chrome_widgetwin_", "chrome_renderwidgethosthwnd"};
  for (const char* prefix : kPrefixes) {
    size_t at = 0;
    while (prefix[at] != '\0' && className[at] != '\0' &&
           (className[at] >= 'A' && className[at] <= 'Z' ? className[at] - 'A' + 'a' : className[at]) == prefix[at]) {
      ++at;
    }
    if (prefix[at] == '\0') return true;
  }
  return false;
}

bool ProgramQuestionPace::Allows(intptr_t window, uint32_t now) {
  if (asked_ && window == window_ && now - at_ < kProgramQuestionSpacingMs) return false;
  asked_ = true;
  window_ = window;
  at_ = now;
  return true;
}
