// SIGTERM and SIGINT end the program through its event loop, so that it ends
// as after a menu's exit: star windows gone, settings kept.
#pragma once
#include <QObject>

class QSocketNotifier;

class SignalEnd : public QObject {
  Q_OBJECT

 public:
  // Blocks both signals for the calling thread and every thread it starts
  // afterwards: call first thing in main, before Qt makes any thread.
  static void BlockEndSignals();

  // Reads the blocked signals from a signalfd in the event loop; false when
  // the descriptor cannot be made (the signals then stay blocked and unheard).
  bool Listen();
  ~SignalEnd() override;

 signals:
  // The signal's number, once per signal received.
  void EndAsked(int signal);

 private:
  void Drain();

  int fd_ = -1;
  QSocketNotifier* notifier_ = nullptr;
};
