// The watchdog: closes the program when its own processor use stays above
// 90 percent for ten one-second samples in a row.
#pragma once
#include <windows.h>

#include <atomic>

#include "app/cpu_load_rules.h"
#include "base/owned_handles.h"

// Where the watchdog's samples come from.
class ProcessorSampler {
 public:
  virtual ~ProcessorSampler() = default;
  // The program's processor use since the previous sample, in percent of
  // one processor (several busy processors read above 100).
  virtual double Sample() = 0;
  // A sample not taken: the main thread only waited since the last one.
  virtual void Skipped() {}
  // Releases what sampling needed; no sample follows.
  virtual void Close() {}
};

// What a watch closes, what it asks, and how it is told to end.
struct WatchdogTarget {
  HWND window;                         // gets WM_CLOSE when the load stays high
  const std::atomic<bool>* dialogOpen; // while set, every sample measures; may be null
  HANDLE stop;                         // an event: once set, the watch ends at its next wait; may be null
};

// Samples once per interval until ten samples in a row are above 90, closes
// the sampler and posts WM_CLOSE to the target's window; a stop set meanwhile
// ends the watch without closing anything (the sampler is closed either way).
// A sample taken while pictures loaded (base/app_state's picture loads) ends
// the run instead of counting; while no handler of the main thread ran since
// the last sample (base/app_state's handlers) and no settings dialog is open,
// the sampler is not asked, the sample is low, and the watch sleeps until a
// handler starts again (or the stop is set): an idle program is not woken.
void RunCpuMonitor(ProcessorSampler* sampler, DWORD intervalMs, const WatchdogTarget& target);

// What the watchdog samples and how often. The program watches without one:
// this process's own times, once a second.
struct CpuMonitorSource {
  ProcessorSampler* sampler;
  DWORD intervalMs;
};

// What a watchdog thread is given: a WatchdogRun*.
struct WatchdogRun {
  WatchdogTarget target;
  const CpuMonitorSource* source;  // null: the program's own measurement
};

// The watchdog thread's body.
DWORD WINAPI CPUMonitorThread(LPVOID run);
// Starts a thread with that body over run (which must outlive it); holds
// nothing when no thread could be started.
UniqueHandle StartWatchdogThread(WatchdogRun* run);

// The main window's watchdog: a thread of its own that watches from Start
// until Stop (or the owner's end), which waits for it. Like the handles it
// owns, it is never copied.
class Watchdog {
 public:
  ~Watchdog() { Stop(); }

  // Watches for the window, with the dialog flag (may be null) and the
  // source (null: the program's own measurement; else it must outlive the
  // watch). False when no thread could be started.
  bool Start(HWND window, const std::atomic<bool>* dialogOpen, const CpuMonitorSource* source);
  void Stop();
  // Whether a watch was started and not stopped since.
  bool Running() const { return static_cast<bool>(thread_); }
  // Whether the started watch has ended by itself (it does once it closed
  // its window), waiting at most waitMs for it.
  bool Ended(DWORD waitMs) const { return thread_ && WaitForSingleObject(thread_.Get(), waitMs) == WAIT_OBJECT_0; }

 private:
  WatchdogRun run_{};
  UniqueHandle stop_;
  UniqueHandle thread_;
};

// The program's measurement: this process's kernel and user time over the
// wall time between two samples.
class ProcessTimesSampler : public ProcessorSampler {
 public:
  ProcessTimesSampler();
  double Sample() override;

 private:
  unsigned long long lastProcessorTime_;
  LARGE_INTEGER lastTicks_;
  LARGE_INTEGER ticksPerSecond_;
};
