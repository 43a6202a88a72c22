#include "app/caret_query.h"

#include <oleacc.h>

#include "app/uia_caret_source.h"
#include "base/system_library.h"
#include "cells/physical_point.h"
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
  std::atomic<bool> askWebEngines{false};
  // When the question now being answered was taken up; 0 between questions.
  std::atomic<uint32_t> busySince{0};
  ProgramQuestionPace pace;  // the caret thread's alone

  ~State() {
    if (wake != nullptr) CloseHandle(wake);
  }
  uint32_t Now() const { return options.clock != nullptr ? options.clock() : GetTickCount(); }
  bool Superseded(uint32_t question) const { return stopping.load() || asked.load() != question; }
};

namespace {

// Caret threads alive in this process, left behind ones included.
std::atomic<int> threadsRunning{0};

// oleacc.dll's calls, from System32 (it is no KnownDLL), and IAccessible's
// id, so that nothing of it is imported.
constexpr IID kIID_IAccessible = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
using FromLresult = HRESULT(WINAPI*)(LRESULT, REFIID, WPARAM, void**);
using StandardObject = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
struct OleaccCalls {
  FromLresult fromLresult = SystemCall<FromLresult>(L"oleacc.dll", "ObjectFromLresult");
  StandardObject standardObject = SystemCall<StandardObject>(L"oleacc.dll", "CreateStdAccessibleObject");
};
const OleaccCalls& Oleacc() {
  static const OleaccCalls calls;
  return calls;
}

CaretRect FromRect(const RECT& rect) { return CaretRect{rect.left, rect.top, rect.right, rect.bottom}; }

// One question, asked of each way in turn until one answers inside the window.
void Answer(CaretQuery::State& state, uint32_t question) {
  const uint32_t asked = state.Now();
  CaretScene scene;
  if (!state.options.findScene(&scene)) return;
  // Whether the program itself may be asked: decided once, at the first way that would.
  int mayAskProgram = -1;
  for (CaretSource* source : state.options.sources) {
    if (state.Superseded(question)) return;
    if (source->AsksTheProgram()) {
      if (mayAskProgram < 0) {
        mayAskProgram = (!scene.webEngine || state.askWebEngines.load()) &&
                        state.pace.Allows(reinterpret_cast<intptr_t>(scene.focus), asked);
      }
      if (mayAskProgram == 0) return;
    }
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
    state->busySince = state->Now() | 1u;
    Answer(*state, question);
    state->busySince = 0;
    state->settled.fetch_add(1);
  }
  for (CaretSource* source : state->options.sources) source->ThreadEnds();
  if (SUCCEEDED(com)) CoUninitialize();
  threadsRunning.fetch_sub(1);
  return 0;
}

// The caret rectangle the input's thread reports, turned to the screen.
class ThreadCaretSource final : public CaretSource {
 public:
  bool Ask(const CaretScene& scene, CaretRect* answer) override {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(scene.thread, &info) || info.hwndCaret == nullptr) return false;
    // In the caret window's own coordinates, which are logical where it is
    // not aware of each monitor's DPI.
    const POINT topLeft = PhysicalClientPoint(info.hwndCaret, POINT{info.rcCaret.left, info.rcCaret.top});
    const POINT bottomRight = PhysicalClientPoint(info.hwndCaret, POINT{info.rcCaret.right, info.rcCaret.bottom});
    *answer = CaretRect{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    return IsWindow(info.hwndCaret) != FALSE;
  }
};

// The focused window's accessible caret object and where it says it is.
// The window is asked for it with a bound, as AccessibleObjectFromWindow
// would ask without one; a window that has none of its own gets the
// system's, which reads its Win32 caret.
class AccessibleCaretSource final : public CaretSource {
 public:
  bool AsksTheProgram() const override { return true; }
  bool Ask(const CaretScene& scene, CaretRect* answer) override {
    const OleaccCalls& oleacc = Oleacc();
    if (scene.focus == nullptr || oleacc.fromLresult == nullptr || oleacc.standardObject == nullptr) return false;
    IAccessible* caret = nullptr;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(scene.focus, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CARET),
                             SMTO_ABORTIFHUNG | SMTO_BLOCK, kCaretQuestionBoundMs, &result)) {
      return false;
    }
    const HRESULT found =
        result != 0
            ? oleacc.fromLresult(static_cast<LRESULT>(result), kIID_IAccessible, 0, reinterpret_cast<void**>(&caret))
            : oleacc.standardObject(scene.focus, static_cast<LONG>(OBJID_CARET), kIID_IAccessible,
                                    reinterpret_cast<void**>(&caret));
    if (FAILED(found) || caret == nullptr) return false;
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
  char focusClass[64] = {}, rootClass[64] = {};
  GetClassNameA(focus, focusClass, sizeof focusClass);
  GetClassNameA(GetAncestor(focus, GA_ROOT), rootClass, sizeof rootClass);
  *scene = CaretScene{thread, focus, FromRect(rect),
                      IsWebEngineWindowClass(focusClass) || IsWebEngineWindowClass(rootClass)};
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
  state_->askWebEngines = state_->options.askWebEngines;
}

void CaretQuery::AskWebEngines(bool ask) {
  state_->options.askWebEngines = ask;  // for a fresh state
  state_->askWebEngines = ask;
}

CaretQuery::~CaretQuery() { Stop(); }

bool CaretQuery::Start(HWND target, UINT message) {
  if (thread_ != nullptr || state_->wake == nullptr) return false;
  state_->target = target;
  state_->message = message;
  state_->stopping = false;
  auto* hold = new std::shared_ptr<State>(state_);
  threadsRunning.fetch_add(1);
  thread_ = CreateThread(nullptr, 0, CaretThread, hold, 0, nullptr);
  if (thread_ == nullptr) {
    threadsRunning.fetch_sub(1);
    delete hold;
  }
  return thread_ != nullptr;
}

void CaretQuery::Ask() {
  if (thread_ == nullptr) return;
  const uint32_t busySince = state_->busySince.load();
  if (busySince != 0 && state_->Now() - busySince > state_->options.boundMs &&
      threadsRunning.load() <= kMostLeftBehind) {
    LeaveHeldThreadBehind();
    if (thread_ == nullptr) return;
  }
  state_->asked.fetch_add(1);
  SetEvent(state_->wake);
}

void CaretQuery::LeaveHeldThreadBehind() {
  std::shared_ptr<State> held = state_;
  auto fresh = std::make_shared<State>();
  fresh->options = held->options;
  fresh->askWebEngines = held->askWebEngines.load();
  // The question it holds is given up: it posts nothing when it returns.
  fresh->settled = held->settled.load() + 1;
  const HWND target = held->target;
  const UINT message = held->message;
  held->stopping = true;
  SetEvent(held->wake);
  CloseHandle(thread_);
  thread_ = nullptr;
  state_ = std::move(fresh);
  Start(target, message);
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
  fresh->askWebEngines = state_->askWebEngines.load();
  state_ = std::move(fresh);
}

uint32_t CaretQuery::Settled() const { return state_->settled.load(); }

int CaretQuery::ThreadsRunning() { return threadsRunning.load(); }
