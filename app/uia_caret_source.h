// The third way of asking where the caret is: UI Automation's text pattern,
// which browsers, programs built on a web engine and Store apps answer where
// they have neither a Win32 caret nor an accessible caret object.
//
// The focused element (GetFocusedElement, else the focused window's own
// element; never a search of the window's tree, which makes a web engine
// build all of it) is asked for its TextPattern2's caret range,
// else for the first range of its TextPattern's selection. The range's
// bounding rectangles give the caret (CaretFromTextRectangles); a degenerate
// range has none, so the character after the caret is asked instead, and at
// the end of the text the one before it.
//
// The automation object is made once per thread, on the first question that
// reaches this way, and let go when the thread ends (ThreadEnds); each thread
// keeps its own. Where UI Automation is missing or partial (Wine), a failed
// creation, E_NOTIMPL or a missing pattern is simply no answer, and creation
// is not tried again on that thread. Every call runs on the caret thread
// within the question's bound: an answer that comes late is not used.
#pragma once
#include <windows.h>

#include "app/caret_query.h"
#include "app/uia_client.h"

// How long UI Automation waits for a program that does not answer (Windows 8
// and later; the default is 20 seconds): far past the question's bound, so an
// answer that could still count is never cut off, and short of Stop's wait,
// so a thread held up by a hung program ends soon after it.
constexpr DWORD kUiaProviderWaitMs = kCaretThreadStopWaitMs / 2;

class UiaCaretSource final : public CaretSource {
 public:
  // Makes a thread's automation object; the default makes the system's.
  using Create = HRESULT (*)(uia::IUIAutomation** automation);
  explicit UiaCaretSource(Create create = CreateSystemAutomation);
  // Every thread that asked must have ended (ThreadEnds) before.
  ~UiaCaretSource();
  UiaCaretSource(const UiaCaretSource&) = delete;
  UiaCaretSource& operator=(const UiaCaretSource&) = delete;

  bool Ask(const CaretScene& scene, CaretRect* answer) override;
  bool AsksTheProgram() const override { return true; }
  void ThreadEnds() override;

  // CUIAutomation8 (Windows 8 and later: calls to a hung program time out),
  // else CUIAutomation. Whatever object a thread gets, its waits for a
  // program are cut to kUiaProviderWaitMs where it has IUIAutomation2.
  static HRESULT CreateSystemAutomation(uia::IUIAutomation** automation);

 private:
  struct ThreadHold;
  ThreadHold* Hold();

  const Create create_;
  const DWORD slot_;  // thread-local storage: each thread's ThreadHold
};
