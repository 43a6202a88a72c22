// The caret thread with made-up ways of asking: the order, the bound, the
// replacement of an unanswered question, and the answer posted to a window.
// Then the standard ways: the thread's caret, and UI Automation's text
// pattern, with made-up automation objects and with Wine's own.
#include "app/caret_query.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/uia_caret_source.h"
#include "cells/packed_point.h"
#include "fake_caret_source.h"
#include "fake_uia.h"

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
// Asking a program makes it work: a web engine's window is asked only the
// thread's caret unless the user allows more, and one window is asked a few
// times a second at most.
TEST(CaretQuery, WebEnginesAreAskedOnlyWhenAllowedAndOneWindowAFewTimesASecond) {
  FakeCaretSource thread(false, CaretRect{});
  FakeCaretSource program(true, CaretRect{300, 200, 302, 216});
  program.asksProgram = true;
  AnswerTarget target;
  CaretQueryOptions options = FakeOptions({&thread, &program});
  options.findScene = FakeWebEngineScene;
  CaretQuery query(options);
  ASSERT_TRUE(query.Start(target.Window(), kAnswerMessage));
  query.Ask();
  ASSERT_TRUE(WaitUntil([&] { return query.Settled() == 1; }));
  EXPECT_EQ(thread.calls, 1);
  EXPECT_EQ(program.calls, 0) << "a web engine was asked without the user's leave";
  EXPECT_EQ(target.Take(), 0);

  query.AskWebEngines(true);
  fakeNow += 1000;
  query.Ask();
  ASSERT_TRUE(WaitUntil([&] { return query.Settled() == 2; }));
  EXPECT_EQ(program.calls, 1);
  EXPECT_EQ(target.Take(), 1);
  // The next key at once: the window was just asked.
  fakeNow += kProgramQuestionSpacingMs - 1;
  query.Ask();
  ASSERT_TRUE(WaitUntil([&] { return query.Settled() == 3; }));
  EXPECT_EQ(program.calls, 1) << "the same window asked again within its spacing";
  EXPECT_EQ(thread.calls, 3) << "the thread's caret costs the program nothing";
  fakeNow += 1;
  query.Ask();
  ASSERT_TRUE(WaitUntil([&] { return query.Settled() == 4; }));
  EXPECT_EQ(program.calls, 2);
  query.Stop();
}

// A question held up in a program that does not answer is left behind: the
// next key gets a fresh thread and its answer at once.
TEST(CaretQuery, AQuestionHeldUpPastTheBoundDoesNotHoldUpTheNextKey) {
  // The thread left behind may use its ways after the test: they outlive it.
  static FakeCaretSource way(true, CaretRect{300, 200, 302, 216});
  way.holdFirst = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  way.entered = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  AnswerTarget target;
  CaretQuery query(FakeOptions({&way}));
  ASSERT_TRUE(query.Start(target.Window(), kAnswerMessage));
  query.Ask();
  ASSERT_EQ(WaitForSingleObject(way.entered, 10000), WAIT_OBJECT_0);
  fakeNow += kCaretQuestionBoundMs + 1;
  query.Ask();
  EXPECT_TRUE(WaitUntil([&] { return way.calls.load() == 2; }, 5000)) << "the next key waited for the held question";
  ASSERT_TRUE(WaitUntil([&] { return query.Settled() >= 2; }));
  LPARAM point = 0;
  EXPECT_EQ(target.Take(&point), 1);
  EXPECT_EQ(static_cast<uint64_t>(point), PackPoint(300, 200 + kCaretPointDrop));
  SetEvent(way.holdFirst);  // the program answers at last; the events stay with the thread
  query.Stop();
}

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
  ASSERT_EQ(ways.size(), 3u);
  CaretRect answer{};
  ASSERT_TRUE(ways[0]->Ask(scene, &answer));
  EXPECT_EQ(answer.left, origin.x + 37);
  EXPECT_EQ(answer.top, origin.y + 23);
  EXPECT_EQ(answer.bottom - answer.top, 16);
  EXPECT_TRUE(CaretAnswerInside(answer, scene.window));

  DestroyCaret();
  CaretRect none{};
  EXPECT_FALSE(ways[0]->Ask(scene, &none)) << "a thread without caret has no answer";
  EXPECT_FALSE(ways[0]->AsksTheProgram()) << "the window system answers for the program";
  EXPECT_TRUE(ways[1]->AsksTheProgram());
  EXPECT_TRUE(ways[2]->AsksTheProgram());
  DestroyWindow(window);
}

// The input in front tells whether it is a web engine's, by its window's
// class or its top-level window's.
TEST(CaretQuery, TheSceneInFrontKnowsAWebEnginesWindowByItsClass) {
  WNDCLASSA engineClass{};
  engineClass.lpfnWndProc = DefWindowProcA;
  engineClass.hInstance = GetModuleHandleA(nullptr);
  engineClass.lpszClassName = "Chrome_WidgetWin_1";
  RegisterClassA(&engineClass);
  for (const char* className : {"Chrome_WidgetWin_1", "STATIC"}) {
    HWND window = CreateWindowExA(0, className, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 240, 160, 400, 300, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    SetForegroundWindow(window);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == window; }, 5000));
    CaretScene scene;
    ASSERT_TRUE(ForegroundCaretScene(&scene));
    EXPECT_EQ(scene.webEngine, std::string(className) == "Chrome_WidgetWin_1") << className;
    DestroyWindow(window);
  }
}

// The text pattern way, asked on this thread with a made-up automation
// object (taken; null: none can be made). At its end the thread's objects
// are let go, and no made-up object may be left alive.
class UiaTrial {
 public:
  explicit UiaTrial(fake_uia::Automation* automation) : automation_(automation), way_(fake_uia::HandOut) {
    fake_uia::handedOut = automation;
    fake_uia::created = 0;
  }
  ~UiaTrial() {
    way_.ThreadEnds();
    fake_uia::handedOut = nullptr;
    if (automation_ != nullptr) automation_->Release();
    EXPECT_EQ(fake_uia::alive.load(), 0) << "a UI Automation object was kept";
  }
  UiaTrial(const UiaTrial&) = delete;
  UiaTrial& operator=(const UiaTrial&) = delete;

  bool Ask(CaretRect* answer, HWND focus = FakeFocusWindow()) {
    return way_.Ask(CaretScene{1, focus, kFakeFocusRect}, answer);
  }
  UiaCaretSource& Way() { return way_; }

 private:
  fake_uia::Automation* const automation_;
  UiaCaretSource way_;
};

using fake_uia::Automation;
using fake_uia::Element;
using fake_uia::Range;
using fake_uia::RangeShape;
using fake_uia::TextPattern;

TEST(CaretQuery, TheTextPatternWayMeasuresTheFocusedElementsCaretRange) {
  auto* caret = new Range(RangeShape().Rectangles({300.4, 200.0, 0.0, 16.0}));
  auto* pattern = new TextPattern(caret, {});
  auto* automation = new Automation(new Element(pattern, Element::Offers::kTextPattern2));
  UiaTrial trial(automation);
  CaretRect answer{};
  ASSERT_TRUE(trial.Ask(&answer));
  EXPECT_EQ(answer.left, 300);
  EXPECT_EQ(answer.top, 200);
  EXPECT_EQ(answer.bottom, 216);
  EXPECT_TRUE(CaretAnswerInside(answer, kFakeFocusRect));
  EXPECT_EQ(pattern->selectionAsked, 0) << "the caret range answered";
  EXPECT_EQ(caret->clones, 0) << "the range had a rectangle of its own";
  EXPECT_EQ(automation->connectionTimeout, kUiaProviderWaitMs) << "UI Automation may wait for a hung program";
  EXPECT_EQ(automation->transactionTimeout, kUiaProviderWaitMs) << "UI Automation may wait for a hung program";

  // The thread keeps its automation object for the next question.
  ASSERT_TRUE(trial.Ask(&answer));
  EXPECT_EQ(fake_uia::created.load(), 1);
  EXPECT_EQ(automation->focusAsked, 2);
}

TEST(CaretQuery, ADegenerateCaretRangeIsMeasuredByTheCharacterAfterItOrAtTheEndTheOneBefore) {
  {
    auto* caret = new Range(RangeShape().Expanded({300.0, 200.0, 7.0, 16.0}).Before({293.0, 200.0, 7.0, 16.0}));
    UiaTrial trial(new Automation(new Element(new TextPattern(caret, {}), Element::Offers::kTextPattern2)));
    CaretRect answer{};
    ASSERT_TRUE(trial.Ask(&answer));
    EXPECT_EQ(answer.left, 300) << "the left edge of the character after the caret";
    EXPECT_EQ(caret->clones, 1);
    EXPECT_EQ(caret->changes, 0) << "the caret range itself was moved, not a copy";
  }
  {
    // At the end of the text the character after the caret is none.
    auto* caret = new Range(RangeShape().Before({293.0, 200.0, 7.0, 16.0}));
    UiaTrial trial(new Automation(new Element(new TextPattern(caret, {}), Element::Offers::kTextPattern2)));
    CaretRect answer{};
    ASSERT_TRUE(trial.Ask(&answer));
    EXPECT_EQ(answer.left, 300) << "the right edge of the character before the caret";
    EXPECT_EQ(answer.top, 200);
    EXPECT_EQ(caret->clones, 2);
    EXPECT_EQ(caret->changes, 0);
  }
  {
    // An empty text: no character on either side.
    auto* caret = new Range(RangeShape().Before({293.0, 200.0, 7.0, 16.0}).AtTheStart());
    UiaTrial trial(new Automation(new Element(new TextPattern(caret, {}), Element::Offers::kTextPattern2)));
    CaretRect answer{};
    EXPECT_FALSE(trial.Ask(&answer));
  }
}

TEST(CaretQuery, WithoutACaretRangeTheSelectionsFirstRangeStands) {
  {
    // A plain TextPattern (before Windows 8, or a program that offers no more).
    auto* pattern = new TextPattern(nullptr, {new Range(RangeShape().Rectangles({400.0, 300.0, 50.0, 16.0})),
                                              new Range(RangeShape().Rectangles({500.0, 300.0, 50.0, 16.0}))});
    UiaTrial trial(new Automation(new Element(pattern, Element::Offers::kTextPattern)));
    CaretRect answer{};
    ASSERT_TRUE(trial.Ask(&answer));
    EXPECT_EQ(answer.left, 400);
    EXPECT_EQ(pattern->caretAsked, 0);
  }
  {
    // A TextPattern2 whose caret range is not implemented.
    auto* pattern =
        new TextPattern(nullptr, {new Range(RangeShape().Rectangles({400.0, 300.0, 50.0, 16.0}))}, E_NOTIMPL);
    UiaTrial trial(new Automation(new Element(pattern, Element::Offers::kTextPattern2)));
    CaretRect answer{};
    ASSERT_TRUE(trial.Ask(&answer));
    EXPECT_EQ(answer.left, 400);
    EXPECT_EQ(pattern->caretAsked, 1);
    EXPECT_EQ(pattern->selectionAsked, 1);
  }
  {
    // Nothing selected and no caret range: no answer.
    auto* pattern = new TextPattern(nullptr, {});
    UiaTrial trial(new Automation(new Element(pattern, Element::Offers::kTextPattern2)));
    CaretRect answer{};
    EXPECT_FALSE(trial.Ask(&answer));
    EXPECT_EQ(pattern->selectionAsked, 1);
  }
}

// A web engine builds its whole accessibility tree for a search of it:
// without a focused element, the focused window's own element is asked and
// nothing below it is searched for.
TEST(CaretQuery, WithoutAFocusedElementTheFocusedWindowsOwnElementIsAskedAndItsTreeNeverSearched) {
  auto* inner = new Element(new TextPattern(new Range(RangeShape().Rectangles({500.0, 400.0, 0.0, 16.0})), {}),
                            Element::Offers::kTextPattern2);
  auto* window = new Element(new TextPattern(new Range(RangeShape().Rectangles({300.0, 200.0, 0.0, 16.0})), {}),
                             Element::Offers::kTextPattern2, inner);
  auto* automation = new Automation(nullptr, E_NOTIMPL);  // as Wine's may answer
  automation->AddWindow(FakeFocusWindow(), window);
  UiaTrial trial(automation);
  CaretRect answer{};
  ASSERT_TRUE(trial.Ask(&answer));
  EXPECT_EQ(answer.left, 300) << "the window's own element";
  EXPECT_EQ(window->lastCondition, nullptr) << "the window's tree was searched";
  EXPECT_EQ(automation->conditionsMade, 0);

  // A window UI Automation does not know: no answer.
  EXPECT_FALSE(trial.Ask(&answer, reinterpret_cast<HWND>(static_cast<intptr_t>(0x4343))));
  EXPECT_FALSE(trial.Ask(&answer, nullptr));
}

TEST(CaretQuery, UiAutomationThatIsMissingOrPartialAnswersNothingAndKeepsNothing) {
  CaretRect answer{};
  {
    // No automation object can be made: it is asked for once per thread.
    UiaTrial trial(nullptr);
    EXPECT_FALSE(trial.Ask(&answer));
    EXPECT_FALSE(trial.Ask(&answer));
    EXPECT_EQ(fake_uia::created.load(), 1);
    trial.Way().ThreadEnds();
    EXPECT_FALSE(trial.Ask(&answer));
    EXPECT_EQ(fake_uia::created.load(), 2) << "a thread's state outlived its end";
  }
  {
    // Neither a focused element nor the window's.
    UiaTrial trial(new Automation(nullptr, E_NOTIMPL));
    EXPECT_FALSE(trial.Ask(&answer));
  }
  {
    // A focused element without a text pattern.
    UiaTrial trial(new Automation(new Element(nullptr, Element::Offers::kNothing)));
    EXPECT_FALSE(trial.Ask(&answer));
  }
  {
    // A range that tells no rectangles, nor do its copies.
    auto* caret = new Range(RangeShape().Failing(E_NOTIMPL));
    UiaTrial trial(new Automation(new Element(new TextPattern(caret, {}), Element::Offers::kTextPattern2)));
    EXPECT_FALSE(trial.Ask(&answer));
  }
  {
    // Rectangles of nothing but zero height.
    auto* caret = new Range(RangeShape().Rectangles({300.0, 200.0, 5.0, 0.0}));
    UiaTrial trial(new Automation(new Element(new TextPattern(caret, {}), Element::Offers::kTextPattern2)));
    EXPECT_FALSE(trial.Ask(&answer));
  }
  {
    // Without IUIAutomation2 (before Windows 8) the default waits stay.
    auto* automation = new Automation(new Element(
        new TextPattern(new Range(RangeShape().Rectangles({300.0, 200.0, 0.0, 16.0})), {}),
        Element::Offers::kTextPattern2));
    automation->offersTimeouts = false;
    UiaTrial trial(automation);
    EXPECT_TRUE(trial.Ask(&answer));
    EXPECT_EQ(automation->connectionTimeout, 0u);
  }
}

TEST(CaretQuery, EachThreadKeepsItsOwnAutomationObjectUntilItEnds) {
  auto* automation = new Automation(new Element(
      new TextPattern(new Range(RangeShape().Rectangles({300.0, 200.0, 0.0, 16.0})), {}),
      Element::Offers::kTextPattern2));
  fake_uia::handedOut = automation;
  fake_uia::created = 0;
  {
    UiaCaretSource way(fake_uia::HandOut);
    auto askTwice = [&] {
      CaretRect answer{};
      const CaretScene scene{1, FakeFocusWindow(), kFakeFocusRect};
      EXPECT_TRUE(way.Ask(scene, &answer));
      EXPECT_TRUE(way.Ask(scene, &answer));
      way.ThreadEnds();
    };
    std::thread first(askTwice);
    first.join();
    std::thread second(askTwice);
    second.join();
    EXPECT_EQ(fake_uia::created.load(), 2) << "one automation object per thread";
    EXPECT_EQ(automation->References(), 1u) << "a thread kept its automation object past its end";

    // The caret thread lets its objects go when it ends, and posts the answer.
    AnswerTarget target;
    CaretQuery query(FakeOptions({&way}));
    ASSERT_TRUE(query.Start(target.Window(), kAnswerMessage));
    query.Ask();
    ASSERT_TRUE(WaitUntil([&] { return query.Settled() == 1; }));
    LPARAM point = 0;
    EXPECT_EQ(target.Take(&point), 1);
    EXPECT_EQ(static_cast<uint64_t>(point), PackPoint(300, 200 + kCaretPointDrop));
    EXPECT_EQ(automation->References(), 2u) << "the caret thread holds its own while it lives";
    query.Stop();
    EXPECT_TRUE(WaitUntil([&] { return automation->References() == 1; }))
        << "the caret thread kept its automation object past its end";
  }
  fake_uia::handedOut = nullptr;
  automation->Release();
  EXPECT_EQ(fake_uia::alive.load(), 0);
}

// A window of its own thread with an edit box, as another program's would
// be, which the scene names as the focused window; the thread pumps messages
// until the window goes, after not answering until `hung` is set. The window
// is never shown: on the tests' display without a window manager, hiding a
// shown window waits two seconds.
class EditHost {
 public:
  explicit EditHost(HANDLE hung = nullptr) : hung_(hung) {
    ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = std::thread([this] { Run(); });
    WaitForSingleObject(ready_, 10000);
  }
  ~EditHost() {
    if (frame_ != nullptr) PostMessageA(frame_, WM_CLOSE, 0, 0);
    thread_.join();
    CloseHandle(ready_);
  }
  EditHost(const EditHost&) = delete;
  EditHost& operator=(const EditHost&) = delete;

  CaretScene Scene() const { return scene_; }

 private:
  void Run() {
    frame_ = CreateWindowExA(0, "STATIC", "uia host", WS_POPUP, 200, 150, 500, 300, nullptr, nullptr, nullptr,
                             nullptr);
    edit_ = CreateWindowExA(0, "EDIT", "typed text", WS_CHILD | WS_VISIBLE | ES_LEFT, 20, 20, 400, 30, frame_,
                            nullptr, nullptr, nullptr);
    SendMessageA(edit_, EM_SETSEL, 5, 5);
    RECT rect{};
    GetWindowRect(edit_, &rect);
    scene_ = CaretScene{GetCurrentThreadId(), edit_, CaretRect{rect.left, rect.top, rect.right, rect.bottom}};
    SetEvent(ready_);
    if (hung_ != nullptr) WaitForSingleObject(hung_, 30000);  // not answering, then answering again
    MSG message;
    while (IsWindow(frame_) && GetMessageA(&message, nullptr, 0, 0) > 0) {
      if (message.message == WM_CLOSE && message.hwnd == frame_) {
        DestroyWindow(frame_);
        break;
      }
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }

  HANDLE hung_;
  HANDLE ready_ = nullptr;
  HWND frame_ = nullptr;
  HWND edit_ = nullptr;
  CaretScene scene_{};
  std::thread thread_;
};

// The scene the caret thread is asked about in the tests with real windows.
CaretScene hostScene{};
bool HostScene(CaretScene* scene) {
  *scene = hostScene;
  return true;
}

// Wine's UI Automation is partial (in this prefix its automation object is
// not even registered): the way may answer nothing, but a point it gives
// lies inside the focused window, and each question settles.
TEST(CaretQuery, TheThirdStandardWayIsUiAutomationAndAnswersOnlyInsideTheFocusedWindow) {
  EditHost host;
  hostScene = host.Scene();
  ASSERT_NE(hostScene.focus, nullptr);
  AnswerTarget target;
  CaretQueryOptions options;
  options.sources = {StandardCaretSources()[2]};
  options.findScene = HostScene;
  CaretQuery query(options);
  ASSERT_TRUE(query.Start(target.Window(), kAnswerMessage));
  for (uint32_t question = 1; question <= 3; ++question) {
    query.Ask();
    ASSERT_TRUE(WaitUntil([&] { return query.Settled() == question; }));
  }
  query.Stop();
  LPARAM packed = 0;
  const int answers = target.Take(&packed);
  std::printf("UI Automation here answered %d of 3 questions\n", answers);
  if (answers > 0) {
    const ScreenPoint point = UnpackPoint(static_cast<uint64_t>(packed));
    const CaretRect& window = hostScene.window;
    EXPECT_TRUE(point.x >= window.left && point.x < window.right && point.y - kCaretPointDrop >= window.top &&
                point.y - kCaretPointDrop < window.bottom)
        << "stars outside the focused window: " << point.x << "," << point.y;
  }
}

// A standard way that counts the questions it finished and the threads it
// let go; it outlives any caret thread.
class CountingWay final : public CaretSource {
 public:
  explicit CountingWay(CaretSource* way) : way_(way) {}
  bool Ask(const CaretScene& scene, CaretRect* answer) override {
    const bool known = way_->Ask(scene, answer);
    ++finished;
    return known;
  }
  bool AsksTheProgram() const override { return way_->AsksTheProgram(); }
  void ThreadEnds() override {
    way_->ThreadEnds();
    ++ended;
  }
  std::atomic<int> finished{0};
  std::atomic<int> ended{0};

 private:
  CaretSource* const way_;
};

// A program that stops answering holds the caret thread at most (Wine's
// accessibility asks its window and waits): keys go on asking, and Stop
// returns while the program still does not answer. Were either held, the
// program would answer again only when the watchdog gives up, and the test
// says so. The held thread ends by itself once the program answers.
TEST(CaretQuery, AProgramThatDoesNotAnswerHoldsNobodyButTheCaretThread) {
  const std::vector<CaretSource*> standard = StandardCaretSources();
  static CountingWay thread(standard[0]), accessible(standard[1]), automation(standard[2]);
  HANDLE hung = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::atomic<bool> done{false};
  std::atomic<bool> gaveUp{false};
  std::thread watchdog([&] {
    if (!WaitUntil([&] { return done.load(); }, 20000)) gaveUp = true;
    SetEvent(hung);
  });
  {
    EditHost host(hung);
    hostScene = host.Scene();
    AnswerTarget target;
    CaretQueryOptions options;
    options.sources = {&thread, &accessible, &automation};
    options.findScene = HostScene;
    CaretQuery query(options);
    EXPECT_TRUE(query.Start(target.Window(), kAnswerMessage));
    for (int key = 0; key < 5; ++key) {
      query.Ask();
      Sleep(20);
    }
    query.Stop();
    EXPECT_FALSE(gaveUp.load()) << "a key or Stop waited for the program that does not answer";
    std::printf("while the program did not answer: %d, %d and %d questions finished by the three ways\n",
                thread.finished.load(), accessible.finished.load(), automation.finished.load());
    done = true;  // the program answers again
    watchdog.join();
    EXPECT_EQ(target.Take(), 0) << "an answer from a program that did not answer in time";
  }
  // Threads held up past the bound were left behind; each ends by itself.
  ASSERT_TRUE(WaitUntil([&] { return automation.ended.load() >= 1 && CaretQuery::ThreadsRunning() == 0; }, 30000))
      << "a caret thread never ended";
  EXPECT_EQ(thread.ended.load(), automation.ended.load());
  EXPECT_EQ(accessible.ended.load(), automation.ended.load());
  CloseHandle(hung);
}

}  // namespace
