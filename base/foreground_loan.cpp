#include "base/foreground_loan.h"

namespace {

HWND remembered = nullptr;  // the main thread's alone: the hook calls back there

bool OfThisProcess(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process == GetCurrentProcessId();
}

// The foreground may go back: it has nobody's, or it is still ours.
bool StillLent(HWND now) { return now == nullptr || now == GetDesktopWindow() || OfThisProcess(now); }

// The calling thread's own windows (the hidden window that borrows the
// foreground, the stars) are never the ones the user typed in.
bool Rememberable(HWND window) {
  return window != nullptr && window != GetDesktopWindow() &&
         GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId() && !IsTaskbarWindow(window);
}

void CALLBACK ForegroundChanged(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
  if (object == OBJID_WINDOW && child == CHILDID_SELF && Rememberable(window)) remembered = window;
}

}  // namespace

bool IsTaskbarWindow(HWND window) {
  static constexpr const char* kTaskbarClasses[] = {"Shell_TrayWnd", "Shell_SecondaryTrayWnd",
                                                    "NotifyIconOverflowWindow", "TopLevelWindowForOverflowXamlIsland"};
  char className[64] = {};
  if (window == nullptr || GetClassNameA(window, className, sizeof className) <= 0) return false;
  for (const char* taskbar : kTaskbarClasses) {
    if (lstrcmpiA(className, taskbar) == 0) return true;
  }
  return false;
}

bool ForegroundMemory::Start() {
  if (hook_ != nullptr) return true;
  HWND front = GetForegroundWindow();
  remembered = Rememberable(front) ? front : nullptr;
  hook_ = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, ForegroundChanged, 0, 0,
                          WINEVENT_OUTOFCONTEXT);
  return hook_ != nullptr;
}

void ForegroundMemory::Stop() {
  if (hook_ == nullptr) return;
  UnhookWinEvent(hook_);
  hook_ = nullptr;
  remembered = nullptr;
}

HWND RememberedForeground() { return remembered != nullptr && IsWindow(remembered) ? remembered : nullptr; }

HWND TopmostOrdinaryWindow() {
  // The taskbar is always on top; the window the user left for it lies below.
  for (HWND window = GetTopWindow(nullptr); window != nullptr; window = GetWindow(window, GW_HWNDNEXT)) {
    if (!IsWindowVisible(window) || IsIconic(window) || !Rememberable(window)) continue;
    const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    if ((exStyle & (WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE)) != 0) continue;
    return window;
  }
  return nullptr;
}

ForegroundLoan::ForegroundLoan(HWND borrower) : lender_(GetForegroundWindow()) {
  if (IsTaskbarWindow(lender_)) {
    lender_ = RememberedForeground();
    if (lender_ == nullptr) lender_ = TopmostOrdinaryWindow();
  }
  if (lender_ == GetDesktopWindow()) lender_ = nullptr;  // nobody's to give back
  if (borrower != nullptr) SetForegroundWindow(borrower);
}

void TrackMenuOnLoan(HMENU menu, UINT flags, POINT at, HWND owner) {
  ForegroundLoan loan(owner);
  TrackPopupMenu(menu, flags, at.x, at.y, 0, owner, nullptr);
  // A menu closes properly only once its owner has had a message after it.
  PostMessageA(owner, WM_NULL, 0, 0);
}

ForegroundLoan::~ForegroundLoan() {
  if (lender_ == nullptr || !IsWindow(lender_)) return;
  if (StillLent(GetForegroundWindow())) SetForegroundWindow(lender_);
}
