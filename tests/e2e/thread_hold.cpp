#include "thread_hold.h"

ThreadHold::ThreadHold(HWND window) {
  DWORD id = GetWindowThreadProcessId(window, nullptr);
  if (id == 0) return;
  HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME | THREAD_GET_CONTEXT, FALSE, id);
  if (thread == nullptr) return;
  if (SuspendThread(thread) == static_cast<DWORD>(-1)) {
    CloseHandle(thread);
    return;
  }
  // A suspension takes effect later; reading the context waits until the
  // thread has stopped.
  CONTEXT context{};
  context.ContextFlags = CONTEXT_CONTROL;
  GetThreadContext(thread, &context);
  thread_ = thread;
}

ThreadHold::~ThreadHold() {
  if (thread_ == nullptr) return;
  ResumeThread(thread_);
  CloseHandle(thread_);
}
