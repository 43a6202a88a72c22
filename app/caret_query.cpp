#include "app/caret_query.h"

#include <oleacc.h>

#include "app/uia_caret_source.h"
#include "cells/packed_point.h"

struct CaretQuery::State {
  CaretQueryOptions options;
  HWND target = nullptr;
  UINT message = 0;
  // Auto-reset: any number of questions asked before the thread wakes are one.
  HANDLE wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  std::atomic<uint32_t> asked{0};
  std::atomic<bool> stopping{false};
  std::atomic<uint32_t> settled{0};

  ~State() {
    if (wake != nullptr) CloseHandle(wake);
  }
  uint32_t Now() const { return options.clock != nullptr ? options.clock() : GetTickCount(); }
  bool Superseded(uint32_t question) const { return stopping.load() || asked.load() != question; }
};

namespace {

CaretRect FromRect(const RECT& rect) { return CaretRect{rect.left, rect.top, rect.right, rect.bottom}; }

// One question, asked of each way in turn until one answers inside the window.
void Answer(CaretQuery::State& state, uint32_t question) {
  const uint32_t asked = state.Now();
  CaretScene scene;
  if (!state.options.findScene(&scene)) return;
  for (CaretSource* source : state.options.sources) {
    if (state.Superseded(question)) return;
    CaretRect answer{};
    const bool known = source->Ask(scene, &answer);
    // Late is as good as never: the caret may have moved since the key.
    if (!CaretAnswerInTime(asked, state.Now(), state.options.boundMs)) return;
    if (!known || !CaretAnswerInside(answer, scene.window)) continue;
    if (state.Superseded(question)) return;
    const ScreenPoint point = KeyPointOfCaret(answer);
    PostMessageA(state.target, state.message, 0, static_cast<LPARAM>(PackPoint(point.x, point.y)));
    return;
  }
}

DWORD WINAPI CaretThread(void* parameter) {
  // The thread's own hold on the state: it may outlive the query.
  std::shared_ptr<CaretQuery::State> state(*static_cast<std::shared_ptr<CaretQuery::State>*>(parameter));
  delete static_cast<std::shared_ptr<CaretQuery::State>*>(parameter);
  const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  while (WaitForSingleObject(state->wake, INFINITE) == WAIT_OBJECT_0 && !state->stopping.load()) {
    const uint32_t question = state->asked.load();
    Answer(*state, question);
    state->settled.fetch_add(1);
  }
  for (CaretSource* source : state->options.sources) source->ThreadEnds();
  if (SUCCEEDED(com)) CoUninitialize();
  return 0;
}

// The caret rectangle the input's thread reports, turned to the screen.
class ThreadCaretSource final : public CaretSource {
 public:
  bool Ask(const CaretScene& scene, CaretRect* answer) override {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(scene.thread, &info) || info.hwndCaret == nullptr) return false;
    POINT corners[2] = {{info.rcCaret.left, info.rcCaret.top}, {info.rcCaret.right, info.rcCaret.bottom}};
    SetLastError(0);
    if (MapWindowPoints(info.hwndCaret, nullptr, corners, 2) == 0 && GetLastError() != 0) return false;
    *answer = CaretRect{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    return true;
  }
};

// The focused window's accessible caret object and where it says it is.
class AccessibleCaretSource final : public CaretSource {
 public:
  bool Ask(const CaretScene& scene, CaretRect* answer) override {
    if (scene.focus == nullptr) return false;
    IAccessible* caret = nullptr;
    if (FAILED(AccessibleObjectFromWindow(scene.focus, static_cast<DWORD>(OBJID_CARET), IID_IAccessible,
                                          reinterpret_cast<void**>(&caret))) ||
        caret == nullptr) {
      return false;
    }
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    long left = 0, top = 0, width = 0, height = 0;
    const HRESULT located = caret->accLocation(&left, &top, &width, &height, self);
    caret->Release();
    if (located != S_OK) return false;
    *answer = CaretRect{static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(left + width),
                        static_cast<int32_t>(top + height)};
    return true;
  }
};

}  // namespace

bool ForegroundCaretScene(CaretScene* scene) {
  HWND front = GetForegroundWindow();
  if (front == nullptr) return false;
  const DWORD thread = GetWindowThreadProcessId(front, nullptr);
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (thread == 0 || !GetGUIThreadInfo(thread, &info)) return false;
  HWND focus = info.hwndFocus != nullptr ? info.hwndFocus : info.hwndActive != nullptr ? info.hwndActive : front;
  RECT rect{};
  if (!GetWindowRect(focus, &rect)) return false;
  *scene = CaretScene{thread, focus, FromRect(rect)};
  return true;
}

std::vector<CaretSource*> StandardCaretSources() {
  // Never destroyed: a thread held up in another program may still use them
  // after the program's last window is gone. The first two keep nothing; the
  // third keeps its objects per thread, each thread's its own.
  static ThreadCaretSource threadCaret;
  static AccessibleCaretSource accessibleCaret;
  static UiaCaretSource* const automationCaret = new UiaCaretSource();
  return {&threadCaret, &accessibleCaret, automationCaret};
}

CaretQuery::CaretQuery(CaretQueryOptions options) : state_(std::make_shared<State>()) {
  state_->options = std::move(options);
}

CaretQuery::~CaretQuery() { Stop(); }

bool CaretQuery::Start(HWND target, UINT message) {
  if (thread_ != nullptr || state_->wake == nullptr) return false;
  state_->target = target;
  state_->message = message;
  state_->stopping = false;
  auto* hold = new std::shared_ptr<State>(state_);
  thread_ = CreateThread(nullptr, 0, CaretThread, hold, 0, nullptr);
  if (thread_ == nullptr) delete hold;
  return thread_ != nullptr;
}

void CaretQuery::Ask() {
  if (thread_ == nullptr) return;
  state_->asked.fetch_add(1);
  SetEvent(state_->wake);
}

void CaretQuery::Stop() {
  if (thread_ == nullptr) return;
  state_->stopping = true;
  SetEvent(state_->wake);
  // A window that does not answer the accessibility question could hold the
  // thread; it ends by itself when that returns and posts nothing then.
  WaitForSingleObject(thread_, kCaretThreadStopWaitMs);
  CloseHandle(thread_);
  thread_ = nullptr;
  // A later Start gets a fresh state, apart from a thread still held up.
  auto fresh = std::make_shared<State>();
  fresh->options = state_->options;
  state_ = std::move(fresh);
}

uint32_t CaretQuery::Settled() const { return state_->settled.load(); }
