// The program's parts on the main thread: the star windows' display, the
// input listener and its wake-up, and the status answer.
#pragma once
#include <atomic>
#include <cstdint>

#include <QObject>

#include "linux/input_listener.h"
#include "linux/input_wake.h"
#include "linux/status_answer.h"
#include "linux/x_display.h"

class LinuxApp : public QObject, private RawInputSink {
  Q_OBJECT

 public:
  LinuxApp();
  ~LinuxApp() override;
  // false, with a reason on standard error, when the program cannot run.
  bool Start();

 private:
  // Listener thread: counted and handed over with one wake-up.
  void OnRawClick(int32_t x, int32_t y) override;
  void OnRawRelease() override {}
  void OnRawMove(int32_t x, int32_t y) override;
  void OnRawKey() override;
  // Main thread: takes what the listener handed over.
  void TakeInput();
  void Figures(StatusFigures* figures) const;

  XDisplay display_;
  InputWake wake_;
  InputListener listener_;
  StatusAnswer status_;
  std::atomic<uint64_t> clicks_{0};
  std::atomic<uint64_t> moves_{0};
  std::atomic<uint64_t> keys_{0};
  std::atomic<int32_t> queued_{0};
};
