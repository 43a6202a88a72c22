#include "linux/kit/one_copy_lock.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

pid_t ReadHolder(int fd) {
  char text[24] = {};
  ssize_t length = pread(fd, text, sizeof text - 1, 0);
  if (length <= 0) return 0;
  long value = strtol(text, nullptr, 10);
  return value > 0 ? static_cast<pid_t>(value) : 0;
}

void WriteHolder(int fd) {
  char text[24];
  int length = snprintf(text, sizeof text, "%ld\n", static_cast<long>(getpid()));
  if (ftruncate(fd, 0) != 0) return;
  // Only a hint for the message of a second start; the lock itself is the flock.
  if (pwrite(fd, text, static_cast<size_t>(length), 0) != length) return;
}

}  // namespace

LockOutcome OneCopyLock::Take(const char* path, OneCopyLock* lock, pid_t* holder) {
  if (holder != nullptr) *holder = 0;
  lock->Release();
  UniqueFd fd(open(path, O_RDWR | O_CREAT | O_CLOEXEC, 0600));
  if (!fd) return LockOutcome::Failed;
  int result;
  do {
    result = flock(fd.Get(), LOCK_EX | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    if (errno != EWOULDBLOCK) return LockOutcome::Failed;
    if (holder != nullptr) *holder = ReadHolder(fd.Get());
    return LockOutcome::HeldByAnother;
  }
  WriteHolder(fd.Get());
  lock->fd_ = static_cast<UniqueFd&&>(fd);
  return LockOutcome::Taken;
}
