#include "base/foreground_loan.h"

namespace {

bool OfThisProcess(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process == GetCurrentProcessId();
}

// The foreground may go back: it has nobody's, or it is still ours.
bool StillLent(HWND now) { return now == nullptr || now == GetDesktopWindow() || OfThisProcess(now); }

}  // namespace

ForegroundLoan::ForegroundLoan(HWND borrower) : lender_(GetForegroundWindow()) {
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
