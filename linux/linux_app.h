// The program's parts on the main thread: the star windows' display, the
// input listener and its wake-up, and the status answer.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>

#include <QObject>

#include <QTimer>

#include "linux/input_listener.h"
#include "linux/input_wake.h"
#include "linux/kit/cpu_watch.h"
#include "linux/kit/input_queue.h"
#include "linux/kit/one_copy_lock.h"
#include "linux/kit/xdg_paths.h"
#include "linux/status_answer.h"
#include "linux/x_display.h"

// Made once the display is open.
class FieldShell;

class LinuxApp : public QObject, private RawInputSink {
  Q_OBJECT

 public:
  LinuxApp();
  ~LinuxApp() override;
  // false, with a reason on standard error, when the program cannot run.
  bool Start();

 private:
  // Listener thread: queued, with one wake-up for a batch.
  void OnRawClick(int32_t x, int32_t y) override { Queue(QueuedKind::Press, x, y); }
  void OnRawRelease() override { Queue(QueuedKind::Release, 0, 0); }
  void OnRawMove(int32_t x, int32_t y) override { Queue(QueuedKind::Move, x, y); }
  // Keys make stars only at the text caret, which the program does not know
  // yet: a key is counted on the listener's thread and wakes nothing else.
  void OnRawKey() override { keys_.fetch_add(1, std::memory_order_relaxed); }
  void Queue(QueuedKind kind, int32_t x, int32_t y);
  // Main thread: takes what the listener handed over.
  void TakeInput();
  void Figures(StatusFigures* figures) const;
  // The watchdog samples each second while something happens, and sleeps
  // with the program.
  void WakeWatchdog();
  void SampleWatchdog();

  OneCopyLock lock_;
  KitPath settingsFile_;
  XDisplay display_;
  std::unique_ptr<FieldShell> field_;
  InputQueue queue_;
  InputWake wake_;
  InputListener listener_;
  StatusAnswer status_;
  uint64_t clicks_ = 0;
  uint64_t moves_ = 0;
  std::atomic<uint64_t> keys_{0};
  QTimer watchdogTimer_;
  CpuWatch watchdog_{ProcessClock{}};
  bool activeSinceSample_ = false;
};
