// A menu of this program needs the foreground while it is up (otherwise it
// does not close when the user clicks elsewhere), but the user was typing in
// another program: a loan remembers the window in front when it is made and
// hands the foreground back to it when it ends.
#pragma once
#include <windows.h>

class ForegroundLoan {
 public:
  // Remembers the window in front now, then brings `borrower` to the front.
  explicit ForegroundLoan(HWND borrower);
  // Gives the foreground back, unless the window is gone or the user has
  // meanwhile brought another program to the front (a click that closed the
  // menu): only a foreground still held by this process, or fallen to the
  // desktop, is returned.
  ~ForegroundLoan();
  ForegroundLoan(const ForegroundLoan&) = delete;
  ForegroundLoan& operator=(const ForegroundLoan&) = delete;

  HWND Lender() const { return lender_; }

 private:
  HWND lender_;
};

// Shows a menu of this program's owner window at `at` on a foreground loan,
// so it closes on a click elsewhere and the program in front before gets the
// foreground back; returns once the menu has closed.
void TrackMenuOnLoan(HMENU menu, UINT flags, POINT at, HWND owner);
