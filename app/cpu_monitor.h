// The watchdog: closes the program when its own processor use stays above
// 90 percent for ten one-second samples in a row.
#pragma once
#include <windows.h>

#include "app/cpu_load_rules.h"

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

// A measurement of processor use that may have no value to give.
class ProcessorCounter {
 public:
  virtual ~ProcessorCounter() = default;
  // 1 with the use (as ProcessorSampler::Sample) in *percent when the
  // counter gave a value this time, else 0.
  virtual int Read(double* percent) = 0;
  // Releases the counter; no read follows.
  virtual void Close() {}
};

// Samples the counter while it gives values (0 while it has none yet); once
// it has given none for a few samples in a row, closes it and samples the
// fallback from then on, so a runaway program still closes.
class CounterWithFallback : public ProcessorSampler {
 public:
  CounterWithFallback(ProcessorCounter* counter, ProcessorSampler* fallback);
  double Sample() override;
  void Close() override;
  // 1 once the fallback has taken over.
  int FellBack() const { return fellBack_; }

 private:
  ProcessorCounter* counter_;
  ProcessorSampler* fallback_;
  CounterSilence silence_;
  int fellBack_ = 0;
};

// Samples once per interval until ten samples in a row are above 90, closes
// the sampler and posts WM_CLOSE to the window *closeTarget holds by then
// (the watchdog starts before the main window exists). A sample taken while
// pictures loaded (base/app_state's picture loads) ends the run instead of
// counting; while no handler of the main thread ran since the last sample
// (base/app_state's handlers) the sampler is not asked and the sample is low.
void RunCpuMonitor(ProcessorSampler* sampler, DWORD intervalMs, HWND* closeTarget);

// What the watchdog thread samples and how often. The program starts the
// thread without one: the performance counter of the process "Tovik2", or
// where that counter cannot be added or gives no value, the process's own
// times, once a second.
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
