#include "linux/input_wake.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

#include <QSocketNotifier>

InputWake::~InputWake() {
  delete notifier_;
  if (fd_ >= 0) close(fd_);
}

bool InputWake::Open() {
  fd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (fd_ < 0) return false;
  notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read);
  connect(notifier_, &QSocketNotifier::activated, this, [this] {
    uint64_t count = 0;
    (void)!read(fd_, &count, sizeof count);
    emit Woken();
  });
  return true;
}

void InputWake::Signal() {
  uint64_t one = 1;
  (void)!write(fd_, &one, sizeof one);
}
