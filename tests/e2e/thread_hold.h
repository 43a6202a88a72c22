// Holds the thread that owns a window, so that the window stands still while
// the probe looks at it and presses it. The program moves its stars on a
// timer, and a timer message waits behind input: a press queued while the
// thread is held is taken before the next move, however late the probe ran.
#pragma once

#include <windows.h>

class ThreadHold {
 public:
  // Holds the owner thread of the window and returns once it has stopped;
  // holds nothing when the window or its thread is gone.
  explicit ThreadHold(HWND window);
  ~ThreadHold();
  ThreadHold(const ThreadHold&) = delete;
  ThreadHold& operator=(const ThreadHold&) = delete;

 private:
  HANDLE thread_ = nullptr;
};
