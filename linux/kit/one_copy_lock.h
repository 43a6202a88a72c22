// One copy of the program per user: an exclusive flock on a file. The kernel
// lets go of it when the process ends, however it ends, so a crash never
// leaves a stale lock behind.
#pragma once
#include <sys/types.h>

#include "linux/kit/unique_fd.h"

enum class LockOutcome { Taken, HeldByAnother, Failed };

class OneCopyLock {
 public:
  OneCopyLock() = default;
  OneCopyLock(OneCopyLock&&) = default;
  OneCopyLock& operator=(OneCopyLock&&) = default;

  // Takes the lock on the file at path (made if missing) without waiting.
  // HeldByAnother when a running copy holds it; then *holder is that copy's
  // process id as it wrote it (0 if unknown). Failed when the file cannot be
  // opened or locked.
  static LockOutcome Take(const char* path, OneCopyLock* lock, pid_t* holder);

  bool Held() const { return static_cast<bool>(fd_); }
  // Lets go of the lock (also done by the destructor).
  void Release() { fd_.Reset(); }

 private:
  UniqueFd fd_;
};
