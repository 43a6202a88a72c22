#include "app/cpu_monitor.h"

#include <pdh.h>
#include <pdhmsg.h>

#include "app/cpu_load_rules.h"
#include "base/app_state.h"

namespace {

using UniquePdhQuery = Owned<PDH_HQUERY, NullIsInvalid<PDH_HQUERY, PdhCloseQuery>>;

// A query of the counter "\Process(Tovik2)\% Processor Time" of the local
// machine, with the counter in *counter; holds nothing when the counter
// cannot be added. The instance name is fixed; it is not taken from the
// running file's name.
UniquePdhQuery OpenProcessorQuery(PDH_HCOUNTER* counter) {
  PDH_HQUERY opened = nullptr;
  if (PdhOpenQueryA(nullptr, 0, &opened) != ERROR_SUCCESS) return UniquePdhQuery();
  UniquePdhQuery query(opened);
  char object[] = "Process";
  char instance[] = "Tovik2";
  char counterName[] = "% Processor Time";
  PDH_COUNTER_PATH_ELEMENTS_A elements{};
  elements.szObjectName = object;
  elements.szInstanceName = instance;
  elements.dwInstanceIndex = 0;
  elements.szCounterName = counterName;
  char path[256] = {};
  DWORD size = sizeof path;
  PdhMakeCounterPathA(&elements, path, &size, 0);
  path[sizeof path - 1] = '\0';
  if (PdhAddCounterA(query.Get(), path, 0, counter) != ERROR_SUCCESS) return UniquePdhQuery();
  return query;
}

class PdhCounter : public ProcessorCounter {
 public:
  // 1 when the counter was added to a new query, else 0 with nothing open.
  int Open() {
    query_ = OpenProcessorQuery(&counter_);
    return query_ ? 1 : 0;
  }

  // The first collection gives no rate yet; a counter whose instance does not
  // exist (the program file renamed) collects but never formats.
  int Read(double* percent) override {
    if (!query_ || PdhCollectQueryData(query_.Get()) != ERROR_SUCCESS) return 0;
    PDH_FMT_COUNTERVALUE value{};
    if (PdhGetFormattedCounterValue(counter_, PDH_FMT_DOUBLE, nullptr, &value) != ERROR_SUCCESS) return 0;
    if (value.CStatus != PDH_CSTATUS_VALID_DATA && value.CStatus != PDH_CSTATUS_NEW_DATA) return 0;
    *percent = value.doubleValue;
    return 1;
  }

  void Close() override {
    query_.Reset();
    counter_ = nullptr;
  }

 private:
  UniquePdhQuery query_;
  PDH_HCOUNTER counter_ = nullptr;
};

unsigned long long ProcessorTimeOfThisProcess() {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
  ULARGE_INTEGER k{}, u{};
  k.LowPart = kernel.dwLowDateTime;
  k.HighPart = kernel.dwHighDateTime;
  u.LowPart = user.dwLowDateTime;
  u.HighPart = user.dwHighDateTime;
  return k.QuadPart + u.QuadPart;  // 100 ns units
}

}  // namespace

ProcessTimesSampler::ProcessTimesSampler() : lastProcessorTime_(ProcessorTimeOfThisProcess()) {
  QueryPerformanceFrequency(&ticksPerSecond_);
  QueryPerformanceCounter(&lastTicks_);
}

double ProcessTimesSampler::Sample() {
  unsigned long long processorTime = ProcessorTimeOfThisProcess();
  LARGE_INTEGER ticks;
  QueryPerformanceCounter(&ticks);
  unsigned long long elapsedTicks = static_cast<unsigned long long>(ticks.QuadPart - lastTicks_.QuadPart);
  unsigned long long wallTime = 0;
  if (ticksPerSecond_.QuadPart > 0) {
    unsigned long long perSecond = static_cast<unsigned long long>(ticksPerSecond_.QuadPart);
    wallTime = elapsedTicks / perSecond * 10000000ull + elapsedTicks % perSecond * 10000000ull / perSecond;
  }
  unsigned long long used = processorTime >= lastProcessorTime_ ? processorTime - lastProcessorTime_ : 0;
  lastProcessorTime_ = processorTime;
  lastTicks_ = ticks;
  return ProcessorPercent(used, wallTime);
}

CounterWithFallback::CounterWithFallback(ProcessorCounter* counter, ProcessorSampler* fallback)
    : counter_(counter), fallback_(fallback) {}

double CounterWithFallback::Sample() {
  if (fellBack_) return fallback_->Sample();
  double percent = 0.0;
  int yielded = counter_->Read(&percent);
  if (!CounterGivesUp(&silence_, yielded)) return yielded ? percent : 0.0;
  counter_->Close();
  fellBack_ = 1;
  return fallback_->Sample();
}

void CounterWithFallback::Close() {
  if (fellBack_) {
    fallback_->Close();
  } else {
    counter_->Close();
  }
}

void RunCpuMonitor(ProcessorSampler* sampler, DWORD intervalMs, const WatchdogTarget& target) {
  HighLoadCount count;
  ActivitySeen loading{pictureLoadsDone.load()};
  ActivitySeen handlers{handlersDone.load()};
  int fired = 0;
  bool stopped = false;
  while (!fired && !stopped) {
    // A main thread that only waited for messages since the last sample used
    // no processor worth measuring; the dialog's thread is not counted, so
    // while it is open every sample measures. A runaway that begins after
    // such a pause is measured over the pause at first: it is seen one
    // sample later.
    bool dialogOpen = target.dialogOpen != nullptr && target.dialogOpen->load();
    bool active = dialogOpen || ActiveSinceLastSample(&handlers, handlersRunning.load(), handlersDone.load());
    double percent = 0.0;
    if (active) {
      percent = sampler->Sample();
    } else {
      sampler->Skipped();
    }
    if (ActiveSinceLastSample(&loading, picturesLoading.load(), pictureLoadsDone.load())) {
      count.highSamples = 0;  // loading pictures is no runaway
    } else {
      fired = CountLoadSample(&count, percent);
    }
    if (target.stop != nullptr) {
      stopped = WaitForSingleObject(target.stop, intervalMs) == WAIT_OBJECT_0;
    } else {
      Sleep(intervalMs);
    }
  }
  sampler->Close();
  if (fired) PostMessageA(target.window, WM_CLOSE, 0, 0);
}

DWORD WINAPI CPUMonitorThread(LPVOID parameter) {
  const auto* run = static_cast<const WatchdogRun*>(parameter);
  if (run->source != nullptr) {
    RunCpuMonitor(run->source->sampler, run->source->intervalMs, run->target);
    return 0;
  }
  // Where the counter cannot be added (no per-process counters) or gives no
  // value (no instance of its name), the same use is measured directly.
  ProcessTimesSampler processTimes;
  PdhCounter counter;
  if (counter.Open()) {
    CounterWithFallback sampler(&counter, &processTimes);
    RunCpuMonitor(&sampler, kSampleIntervalMs, run->target);
    return 0;
  }
  RunCpuMonitor(&processTimes, kSampleIntervalMs, run->target);
  return 0;
}

UniqueHandle StartWatchdogThread(WatchdogRun* run) {
  return UniqueHandle(CreateThread(nullptr, 0, CPUMonitorThread, run, 0, nullptr));
}

bool Watchdog::Start(HWND window, const std::atomic<bool>* dialogOpen, const CpuMonitorSource* source) {
  Stop();
  stop_.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (!stop_) return false;
  run_ = WatchdogRun{WatchdogTarget{window, dialogOpen, stop_.Get()}, source};
  thread_ = StartWatchdogThread(&run_);
  return static_cast<bool>(thread_);
}

void Watchdog::Stop() {
  if (thread_) {
    SetEvent(stop_.Get());
    WaitForSingleObject(thread_.Get(), INFINITE);
  }
  thread_.Reset();
  stop_.Reset();
}
