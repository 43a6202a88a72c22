// The one wake-up of the main thread when input waits: an eventfd the
// listener's thread signals and the Qt loop watches. Signals that come while
// the main thread has not woken yet fold into one.
#pragma once
#include <QObject>

class QSocketNotifier;

class InputWake : public QObject {
  Q_OBJECT

 public:
  InputWake() = default;
  ~InputWake() override;
  bool Open();
  // Any thread.
  void Signal();

 signals:
  void Woken();

 private:
  int fd_ = -1;
  QSocketNotifier* notifier_ = nullptr;
};
