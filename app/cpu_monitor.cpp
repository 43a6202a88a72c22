#include "app/cpu_monitor.h"

#include "app/cpu_load_rules.h"
#include "base/app_state.h"
#include "base/owned_handles.h"

namespace {

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

namespace {

// Sleeps while the main thread only waits: until a handler starts (it sets
// wake) or the stop is set. True when stopped. A handler that started while
// the event was being left is seen here, and the wait is not begun.
void SetWakeEvent(void* event) { SetEvent(static_cast<HANDLE>(event)); }

bool SleepUntilAHandlerStarts(HANDLE wake, HANDLE stop, const ActivitySeen& handlers) {
  const WatchdogWake call{SetWakeEvent, wake};
  handlerStartWake.store(&call);
  if (handlersRunning.load() > 0 || handlersDone.load() != handlers.done) {
    if (handlerStartWake.exchange(nullptr) == nullptr) WaitForSingleObject(wake, INFINITE);  // taken: it comes
    return false;
  }
  HANDLE events[2] = {wake, stop};
  const bool stopped = WaitForMultipleObjects(stop != nullptr ? 2 : 1, events, FALSE, INFINITE) == WAIT_OBJECT_0 + 1;
  // A handler that took the event sets it: wait for that before the event may go.
  if (handlerStartWake.exchange(nullptr) == nullptr && stopped) WaitForSingleObject(wake, INFINITE);
  return stopped;
}

}  // namespace

void RunCpuMonitor(ProcessorSampler* sampler, DWORD intervalMs, const WatchdogTarget& target) {
  HighLoadCount count;
  ActivitySeen loading{pictureLoadsDone.load()};
  ActivitySeen handlers{handlersDone.load()};
  UniqueHandle wake(CreateEventA(nullptr, FALSE, FALSE, nullptr));
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
    // Idle means asleep: nothing is sampled until the main thread works again.
    if (!active && !fired && wake) {
      count.highSamples = 0;
      stopped = SleepUntilAHandlerStarts(wake.Get(), target.stop, handlers);
      if (stopped) break;
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
  // This process's own times: a counter looked up by the program's name
  // could be another user's or session's copy.
  ProcessTimesSampler processTimes;
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
