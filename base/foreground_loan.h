// A menu of this program needs the foreground while it is up (otherwise it
// does not close when the user clicks elsewhere), but the user was typing in
// another program: a loan remembers the window in front when it is made and
// hands the foreground back to it when it ends.
#pragma once
#include <windows.h>

// A click in the notification area makes the taskbar (or its overflow
// flyout) the foreground before the tray's message comes. While a memory
// runs, the last window in front that is neither the taskbar's nor the
// memory's thread's is remembered (an event hook on the calling thread, which must
// pump messages), and a loan made while the taskbar is in front is made
// from that window instead.
class ForegroundMemory {
 public:
  ForegroundMemory() = default;
  ~ForegroundMemory() { Stop(); }
  ForegroundMemory(const ForegroundMemory&) = delete;
  ForegroundMemory& operator=(const ForegroundMemory&) = delete;

  // Starts following the foreground, from the window in front now; false
  // when the event hook could not be set.
  bool Start();
  void Stop();

 private:
  HWINEVENTHOOK hook_ = nullptr;
};

// The last window in front that is neither the taskbar's nor the memory's
// thread's, while a memory runs; null when there is none (or it is gone).
HWND RememberedForeground();

// The taskbars and the notification area's overflow flyout.
bool IsTaskbarWindow(HWND window);

// Where no memory knows better (none runs, or the system sends no foreground
// events): the topmost visible window below the taskbar that can be active
// and is not the calling thread's; null when there is none.
HWND TopmostOrdinaryWindow();

class ForegroundLoan {
 public:
  // Remembers the window in front now (when that is the taskbar, the one
  // remembered before it, else the topmost ordinary window below it), then
  // brings `borrower` to the front.
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
