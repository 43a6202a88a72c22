// The watchdog: closes the program when its own processor use stays above
// 90 percent for ten one-second samples in a row.
#pragma once
#include <windows.h>

// Where the watchdog's samples come from.
class ProcessorSampler {
 public:
  virtual ~ProcessorSampler() = default;
  // The program's processor use since the previous sample, in percent of
  // one processor (several busy processors read above 100).
  virtual double Sample() = 0;
  // Releases what sampling needed; no sample follows.
  virtual void Close() {}
};

// Samples once per interval until ten samples in a row are above 90, closes
// the sampler and posts WM_CLOSE to the window *closeTarget holds by then
// (the watchdog starts before the main window exists).
void RunCpuMonitor(ProcessorSampler* sampler, DWORD intervalMs, HWND* closeTarget);

// What the watchdog thread samples and how often. The program starts the
// thread without one: the performance counter of the process "Tovik2", or
// where that counter cannot be added, the process's own times, once a second.
struct CpuMonitorSource {
  ProcessorSampler* sampler;
  DWORD intervalMs;
};

// The watchdog thread; `source` is a CpuMonitorSource* or null. It closes the
// window in mainWindow when the load stays high.
DWORD WINAPI CPUMonitorThread(LPVOID source);

// The measurement behind the counter when it is missing: the process's
// kernel and user time over the wall time between two samples.
class ProcessTimesSampler : public ProcessorSampler {
 public:
  ProcessTimesSampler();
  double Sample() override;

 private:
  unsigned long long lastProcessorTime_;
  LARGE_INTEGER lastTicks_;
  LARGE_INTEGER ticksPerSecond_;
};
