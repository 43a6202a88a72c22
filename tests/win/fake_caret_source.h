// Ways of asking for the caret with made-up answers, for the caret thread's tests.
#pragma once
#include <windows.h>

#include <atomic>

#include "app/caret_query.h"

// Answers `answer` when known; may hold each call until released, or move
// the fake clock on while it answers.
class FakeCaretSource final : public CaretSource {
 public:
  FakeCaretSource(bool known, CaretRect answer) : known_(known), answer_(answer) {}

  bool Ask(const CaretScene& scene, CaretRect* answer) override {
    lastFocus = scene.focus;
    if (++calls == 1 && holdFirst != nullptr) {
      SetEvent(entered);
      WaitForSingleObject(holdFirst, 10000);
    }
    if (clock != nullptr) *clock += advanceMs;
    *answer = answer_;
    return known_;
  }
  bool AsksTheProgram() const override { return asksProgram; }

  std::atomic<int> calls{0};
  std::atomic<HWND> lastFocus{nullptr};
  HANDLE holdFirst = nullptr;  // the first call waits for it
  HANDLE entered = nullptr;    // set when the first call begins
  std::atomic<uint32_t>* clock = nullptr;
  uint32_t advanceMs = 0;
  bool asksProgram = false;  // stands for accessibility or UI Automation

 private:
  const bool known_;
  const CaretRect answer_;
};

// The input in front, made up: a focused window at (100, 100) - (900, 700).
constexpr CaretRect kFakeFocusRect{100, 100, 900, 700};
inline HWND FakeFocusWindow() { return reinterpret_cast<HWND>(static_cast<intptr_t>(0x4242)); }
inline bool FakeCaretScene(CaretScene* scene) {
  *scene = CaretScene{1, FakeFocusWindow(), kFakeFocusRect};
  return true;
}
inline bool FakeWebEngineScene(CaretScene* scene) {
  *scene = CaretScene{1, FakeFocusWindow(), kFakeFocusRect, true};
  return true;
}
