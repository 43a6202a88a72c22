#include "app/cpu_monitor.h"

#include <pdh.h>

#include "app/cpu_load_rules.h"
#include "base/app_state.h"

namespace {

// The counter "\Process(Tovik2)\% Processor Time" of the local machine. The
// instance name is fixed; it is not taken from the running file's name.
class PdhSampler : public ProcessorSampler {
 public:
  // 1 when the counter was added to a new query, else 0 with nothing open.
  int Open() {
    if (PdhOpenQueryA(nullptr, 0, &query_) != ERROR_SUCCESS) {
      query_ = nullptr;
      return 0;
    }
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
    if (PdhAddCounterA(query_, path, 0, &counter_) != ERROR_SUCCESS) {
      Close();
      return 0;
    }
    return 1;
  }

  // A sample that cannot be formatted leaves the last value (0.0 at first):
  // the counter needs two collections before it has a rate.
  double Sample() override {
    PdhCollectQueryData(query_);
    PdhGetFormattedCounterValue(counter_, PDH_FMT_DOUBLE, nullptr, &value_);
    return value_.doubleValue;
  }

  void Close() override {
    if (query_ != nullptr) PdhCloseQuery(query_);
    query_ = nullptr;
    counter_ = nullptr;
  }

 private:
  PDH_HQUERY query_ = nullptr;
  PDH_HCOUNTER counter_ = nullptr;
  PDH_FMT_COUNTERVALUE value_{};
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

void RunCpuMonitor(ProcessorSampler* sampler, DWORD intervalMs, HWND* closeTarget) {
  HighLoadCount count;
  int fired = 0;
  while (!fired) {
    fired = CountLoadSample(&count, sampler->Sample());
    Sleep(intervalMs);
  }
  sampler->Close();
  PostMessageA(*closeTarget, WM_CLOSE, 0, 0);
}

DWORD WINAPI CPUMonitorThread(LPVOID source) {
  if (source != nullptr) {
    auto* given = static_cast<CpuMonitorSource*>(source);
    RunCpuMonitor(given->sampler, given->intervalMs, &mainWindow);
    return 0;
  }
  PdhSampler counter;
  if (counter.Open()) {
    RunCpuMonitor(&counter, kSampleIntervalMs, &mainWindow);
    return 0;
  }
  // No such counter here (a renamed program, or no per-process counters):
  // measure the same use directly, so a runaway program still closes.
  ProcessTimesSampler processTimes;
  RunCpuMonitor(&processTimes, kSampleIntervalMs, &mainWindow);
  return 0;
}
