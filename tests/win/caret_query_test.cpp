// The caret thread with made-up ways of asking: the order, the bound, the
// replacement of an unanswered question, and the answer posted to a window.
#include "app/caret_query.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <vector>

#include "cells/packed_point.h"
#include "fake_caret_source.h"

namespace {

constexpr UINT kAnswerMessage = WM_APP + 7;

std::atomic<uint32_t> fakeNow{1000};
uint32_t FakeClock() { return fakeNow.load(); }

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(2);
  }
  return true;
}

// A message-only window of the test's thread, which the answers are posted to.
class AnswerTarget {
 public:
  AnswerTarget() : window_(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {}
  ~AnswerTarget() { DestroyWindow(window_); }
  HWND Window() const { return window_; }
  // The answers posted so far, taken from the queue; the last one's point in *last.
  int Take(LPARAM* last = nullptr) {
    int count = 0;
    MSG message;
    while (PeekMessageA(&message, window_, kAnswerMessage, kAnswerMessage, PM_REMOVE)) {
      ++count;
      if (last != nullptr) *last = message.lParam;
    }
    return count;
  }

 private:
  HWND window_;
};

CaretQueryOptions FakeOptions(std::initializer_list<CaretSource*> sources) {
  CaretQueryOptions options;
  options.sources = sources;
  options.findScene = FakeCaretScene;
  options.clock = FakeClock;
  return options;
}

TEST(CaretQuery, TheFirstInsideAnswerWinsAndTheWaysAfterItAreNotAsked) {
  FakeCaretSource empty(false, CaretRect{});
  FakeCaretSource outside(true, CaretRect{20, 20, 22, 36});
  FakeCaretSource inside(true, CaretRect{300, 200, 302, 216});
  FakeCaretSource after(true, CaretRect{500, 400, 502, 416});
  AnswerTarget target;
  CaretQuery query(FakeOptions({&empty, &outside, &inside, &after}));
  ASSERT_TRUE(query.Start(target.Window(), kAnswerMessage));
  query.Ask();
  ASSERT_TRUE(WaitUntil([&] { return query.Settled() == 1; }));
  LPARAM point = 0;
  EXPECT_EQ(target.Take(&point), 1);
  EXPECT_EQ(static_cast<uint64_t>(point), PackPoint(300, 200 + kCaretPointDrop));
  EXPECT_EQ(empty.calls, 1);
  EXPECT_EQ(outside.calls, 1);
  EXPECT_EQ(after.calls, 0);
  EXPECT_EQ(empty.lastFocus.load(), FakeFocusWindow()) << "each way is asked about the focused window";
}

TEST(CaretQuery, WithoutAnInsideAnswerNothingIsPostedAndNeverTheOrigin) {
  FakeCaretSource empty(false, CaretRect{});
  FakeCaretSource zero(true, CaretRect{});
  FakeCaretSource origin(true, CaretRect{0, 0, 2, 16});
  FakeCaretSource outside(true, CaretRect{950, 200, 952, 216});
  AnswerTarget target;
  CaretQuery query(FakeOptions({&empty, &zero, &origin, &outside}));
  ASSERT_TRUE(query.Start(target.Window(), kAnswerMessage));
  query.Ask();
  ASSERT_TRUE(WaitUntil([&] { return query.Settled() == 1; }));
  EXPECT_EQ(target.Take(), 0) << "no answer inside the window: no stars";
  EXPECT_EQ(outside.calls, 1) << "every way was asked";

  // Without an input in front nothing is asked at all.
  CaretQueryOptions noScene = FakeOptions({&empty});
  noScene.findScene = [](CaretScene*) { return false; };
  CaretQuery nobody(noScene);
  ASSERT_TRUE(nobody.Start(target.Window(), kAnswerMessage));
  nobody.Ask();
  ASSERT_TRUE(WaitUntil([&] { return nobody.Settled() == 1; }));
  EXPECT_EQ(empty.calls, 1);
  EXPECT_EQ(target.Take(), 0);
}

TEST(CaretQuery, AWayThatAnswersPastTheBoundIsNotUsedNorAreTheOnesAfterIt) {
  FakeCaretSource slow(true, CaretRect{300, 200, 302, 216});
  slow.clock = &fakeNow;
  slow.advanceMs = kCaretQuestionBoundMs + 1;
  FakeCaretSource next(true, CaretRect{400, 200, 402, 216});
  AnswerTarget target;
  CaretQuery query(FakeOptions({&slow, &next}));
  ASSERT_TRUE(query.Start(target.Window(), kAnswerMessage));
  query.Ask();
  ASSERT_TRUE(WaitUntil([&] { return query.Settled() == 1; }));
  EXPECT_EQ(target.Take(), 0) << "a late answer made stars";
  EXPECT_EQ(next.calls, 0) << "the question went on past its bound";

  // Just within the bound the answer stands.
  slow.advanceMs = kCaretQuestionBoundMs;
  query.Ask();
  ASSERT_TRUE(WaitUntil([&] { return query.Settled() == 2; }));
  LPARAM point = 0;
  EXPECT_EQ(target.Take(&point), 1);
  EXPECT_EQ(static_cast<uint64_t>(point), PackPoint(300, 200 + kCaretPointDrop));
}

TEST(CaretQuery, NewerKeysReplaceAnUnansweredQuestionInsteadOfQueueing) {
  FakeCaretSource held(true, CaretRect{300, 200, 302, 216});
  held.holdFirst = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  held.entered = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  AnswerTarget target;
  CaretQuery query(FakeOptions({&held}));
  ASSERT_TRUE(query.Start(target.Window(), kAnswerMessage));
  query.Ask();
  ASSERT_EQ(WaitForSingleObject(held.entered, 10000), WAIT_OBJECT_0);
  for (int key = 0; key < 5; ++key) query.Ask();
  SetEvent(held.holdFirst);
  ASSERT_TRUE(WaitUntil([&] { return query.Settled() == 2; }));
  // The thread sleeps again: one more question would be a third.
  EXPECT_EQ(target.Take(), 1) << "the replaced question still answered, or the newest did not";
  EXPECT_EQ(held.calls, 2) << "five keys while one was asked make one more question";

  query.Stop();
  query.Ask();  // after Stop: nothing
  EXPECT_EQ(held.calls, 2);
  CloseHandle(held.holdFirst);
  CloseHandle(held.entered);
}

// The first standard way reads the caret rectangle of the input's thread,
// here the test's own, and turns it to the screen.
TEST(CaretQuery, TheThreadsCaretRectangleIsTheFirstStandardWay) {
  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 240, 160, 400, 300, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(CreateCaret(window, nullptr, 2, 16));
  ASSERT_TRUE(SetCaretPos(37, 23));
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  RECT rect{};
  GetWindowRect(window, &rect);
  const CaretScene scene{GetCurrentThreadId(), window, CaretRect{rect.left, rect.top, rect.right, rect.bottom}};

  const std::vector<CaretSource*> ways = StandardCaretSources();
  ASSERT_EQ(ways.size(), 2u);
  CaretRect answer{};
  ASSERT_TRUE(ways[0]->Ask(scene, &answer));
  EXPECT_EQ(answer.left, origin.x + 37);
  EXPECT_EQ(answer.top, origin.y + 23);
  EXPECT_EQ(answer.bottom - answer.top, 16);
  EXPECT_TRUE(CaretAnswerInside(answer, scene.window));

  DestroyCaret();
  CaretRect none{};
  EXPECT_FALSE(ways[0]->Ask(scene, &none)) << "a thread without caret has no answer";
  DestroyWindow(window);
}

}  // namespace
