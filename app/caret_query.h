// Where the caret is in a window that has no Win32 caret (browsers, editors
// and chat programs built on a web engine, Store apps). A key without caret
// asks; the question is answered on a thread of its own, never in the hook
// and never on the main thread, since asking another program's window may
// take it a while. The ways of asking (CaretSource) are tried in turn; the
// first answer inside the focused window wins (caret_answer_rules.h) and is
// posted to the target window as a packed point. A question answers within
// the bound or not at all: a way that answers late is not used, nor are the
// ones after it. A newer question replaces one not yet taken up, so keys
// typed fast never queue. Between questions the thread sleeps on an event.
//
// Asking a program (its accessibility or UI Automation) makes it work: one
// question is in flight at a time, one window is asked a few times a second
// at most (ProgramQuestionPace), and web-engine windows only when the user
// allows it (WEBCARET). A thread held up past the bound by a program that
// does not answer is left to end by itself, and a fresh one takes the next
// key, so a hung program never delays another program's answer.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "app/caret_answer_rules.h"

// What a question is about: the input in front and its focused window.
struct CaretScene {
  DWORD thread = 0;       // the input's thread
  HWND focus = nullptr;   // its focused window
  CaretRect window{};     // that window's rectangle on the screen
  bool webEngine = false;  // the window (or its top-level one) is a web engine's
};

// One way of asking where the caret is; called on the caret thread, which
// has COM initialised (multithreaded). The rectangle is in the screen's
// physical pixels, the program being aware of each monitor's DPI.
class CaretSource {
 public:
  virtual bool Ask(const CaretScene& scene, CaretRect* answer) = 0;
  // Whether asking makes the program itself work (accessibility, UI
  // Automation), rather than the window system answer for it.
  virtual bool AsksTheProgram() const { return false; }
  // Called on a thread that asked, as it ends and before COM is shut there:
  // what the way kept for that thread is let go.
  virtual void ThreadEnds() {}

 protected:
  ~CaretSource() = default;
};

// The input in front, as GetGUIThreadInfo tells it; false when there is none.
bool ForegroundCaretScene(CaretScene* scene);

// The ways the program asks, in their order: the caret rectangle of the
// input's thread, the window's accessible caret object, then the text
// pattern of the focused UI Automation element (uia_caret_source.h).
std::vector<CaretSource*> StandardCaretSources();

// How long Stop waits for the thread; one held up in another program longer
// than this is left to end by itself.
constexpr DWORD kCaretThreadStopWaitMs = 1000;

struct CaretQueryOptions {
  std::vector<CaretSource*> sources;  // each must outlive the query
  bool (*findScene)(CaretScene*) = ForegroundCaretScene;
  uint32_t (*clock)() = nullptr;  // null: the system's tick count
  uint32_t boundMs = kCaretQuestionBoundMs;
  bool askWebEngines = false;  // WEBCARET: web-engine windows are asked too
};

// How many threads held up in a program may be left behind at once; past
// that, the next key waits for one of them.
constexpr int kMostLeftBehind = 4;

class CaretQuery {
 public:
  explicit CaretQuery(CaretQueryOptions options);
  ~CaretQuery();
  CaretQuery(const CaretQuery&) = delete;
  CaretQuery& operator=(const CaretQuery&) = delete;

  // Starts the thread; answers go to target as message. False on failure.
  bool Start(HWND target, UINT message);
  // Asks where the caret is now; does nothing before Start.
  void Ask();
  // Whether web-engine windows are asked too (the WEBCARET setting).
  void AskWebEngines(bool ask);
  // Ends the thread. One held up in another program is not waited for
  // long: it finishes on its own and posts nothing.
  void Stop();

  // Questions finished, answered, given up or replaced; observers wait on it.
  uint32_t Settled() const;
  // Caret threads of this process not ended yet, those left behind in a
  // program that did not answer included.
  static int ThreadsRunning();

  struct State;

 private:
  // Leaves a thread held up in a program behind and starts a fresh one.
  void LeaveHeldThreadBehind();

  std::shared_ptr<State> state_;
  HANDLE thread_ = nullptr;
};
