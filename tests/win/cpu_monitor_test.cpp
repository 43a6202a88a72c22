#include "app/cpu_monitor.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "app/main_window.h"
#include "base/app_state.h"
#include "base/owned_handles.h"
#include "base/ui_texts.h"
#include "images/win32/image_set.h"
#include "stars/star.h"

#include <optional>
#include <vector>

namespace {

// Hands out a fixed series of samples; the last one repeats.
class ScriptedSampler : public ProcessorSampler {
 public:
  explicit ScriptedSampler(std::vector<double> values) : values_(std::move(values)) {}
  double Sample() override {
    LONG index = InterlockedIncrement(&taken_) - 1;
    return values_[index < static_cast<LONG>(values_.size()) ? index : values_.size() - 1];
  }
  void Skipped() override { InterlockedIncrement(&skipped_); }
  void Close() override { InterlockedExchange(&closed_, 1); }
  LONG taken() { return InterlockedCompareExchange(&taken_, 0, 0); }
  LONG skipped() { return InterlockedCompareExchange(&skipped_, 0, 0); }
  LONG closed() { return InterlockedCompareExchange(&closed_, 0, 0); }

 private:
  std::vector<double> values_;
  volatile LONG taken_ = 0;
  volatile LONG skipped_ = 0;
  volatile LONG closed_ = 0;
};

// A window that notes when it is asked to close and how many samples the
// watchdog had taken by then.
ScriptedSampler* watchedSampler = nullptr;
LONG samplesAtClose = -1;

LRESULT CALLBACK CloseProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    samplesAtClose = watchedSampler->taken();
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

class CloseProbe {
 public:
  CloseProbe() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = CloseProbeProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "tovik2 close probe";
    RegisterClassA(&windowClass);
    window_ = CreateWindowExA(0, "tovik2 close probe", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  }
  ~CloseProbe() { DestroyWindow(window_); }
  HWND window_;
};

struct MonitorRun {
  ProcessorSampler* sampler;
  DWORD intervalMs;
  WatchdogTarget target;
};

DWORD WINAPI MonitorThread(LPVOID argument) {
  auto* run = static_cast<MonitorRun*>(argument);
  RunCpuMonitor(run->sampler, run->intervalMs, run->target);
  return 0;
}

// Runs the watchdog over the sampler on a thread of its own, with a short
// interval, and pumps this thread's messages until the probe window is asked
// to close or 20 s pass. Throughout, a handler of the main thread runs, as in
// a runaway. The samples taken by then, or -1.
LONG SamplesUntilClose(ScriptedSampler* sampler) {
  HandlerRunning runaway;
  CloseProbe probe;
  watchedSampler = sampler;
  samplesAtClose = -1;
  UniqueHandle stop(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  MonitorRun run{sampler, 5, WatchdogTarget{probe.window_, nullptr, stop.Get()}};
  HANDLE thread = CreateThread(nullptr, 0, MonitorThread, &run, 0, nullptr);
  if (thread == nullptr) return -1;

  ULONGLONG deadline = GetTickCount64() + 20000;
  while (samplesAtClose < 0 && GetTickCount64() < deadline) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }
  if (samplesAtClose < 0) {
    // Never asked to close: the watchdog runs on until it is stopped.
    SetEvent(stop.Get());
    EXPECT_EQ(WaitForSingleObject(thread, 5000), static_cast<DWORD>(WAIT_OBJECT_0)) << "a stop ends the watch";
    CloseHandle(thread);
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, probe.window_, WM_CLOSE, WM_CLOSE, PM_REMOVE)) << "a stop closes nothing";
    return -1;
  }
  bool ended = WaitForSingleObject(thread, 5000) == WAIT_OBJECT_0;
  CloseHandle(thread);
  EXPECT_TRUE(ended) << "the watchdog must end after its close request";
  return samplesAtClose;
}

TEST(CpuMonitor, TenHighSamplesCloseTheWindowAndEndTheWatch) {
  ScriptedSampler sampler({95.0});
  EXPECT_EQ(SamplesUntilClose(&sampler), 10);
  EXPECT_EQ(sampler.closed(), 1);
  EXPECT_EQ(sampler.taken(), 10);
}

// Waits (up to 20 s) until `done` holds.
template <typename Done>
bool WaitUntil(Done done) {
  ULONGLONG deadline = GetTickCount64() + 20000;
  while (!done()) {
    if (GetTickCount64() > deadline) return false;
    Sleep(1);
  }
  return true;
}

TEST(CpuMonitor, AMainThreadThatOnlyWaitsIsNotMeasuredAndTheWatchSleeps) {
  // High readings that would close the program, but no handler runs: the
  // sampler is never asked (each measurement wakes the watchdog for a system
  // call), nothing closes, and the watch sleeps instead of looking every
  // interval: in 300 ms of 5 ms intervals it looks once.
  ScriptedSampler sampler({95.0});
  CloseProbe probe;
  watchedSampler = &sampler;
  UniqueHandle stop(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  MonitorRun run{&sampler, 5, WatchdogTarget{probe.window_, nullptr, stop.Get()}};
  HANDLE monitor = CreateThread(nullptr, 0, MonitorThread, &run, 0, nullptr);
  ASSERT_NE(monitor, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return sampler.skipped() >= 1; }));
  Sleep(300);
  EXPECT_EQ(sampler.skipped(), 1) << "an idle watch woke to look";
  EXPECT_EQ(sampler.taken(), 0);
  // A handler that ran wakes it and is measured, once; then it sleeps again.
  { HandlerRunning handled; }
  ASSERT_TRUE(WaitUntil([&] { return sampler.taken() >= 1; }));
  ASSERT_TRUE(WaitUntil([&] { return sampler.skipped() >= 2; }));
  Sleep(300);
  EXPECT_EQ(sampler.skipped(), 2);
  EXPECT_EQ(sampler.taken(), 1);
  EXPECT_EQ(sampler.closed(), 0);
  // A handler that never returns is a runaway: sampled every interval, it
  // ends the watch with a close request after ten high samples.
  {
    HandlerRunning runaway;
    EXPECT_EQ(WaitForSingleObject(monitor, 20000), WAIT_OBJECT_0) << "the watch ends after its close request";
  }
  EXPECT_EQ(sampler.taken(), 11);
  EXPECT_EQ(sampler.closed(), 1);
  MSG message;
  EXPECT_TRUE(PeekMessageA(&message, probe.window_, WM_CLOSE, WM_CLOSE, PM_REMOVE)) << "no close request";
  CloseHandle(monitor);

  // A sleeping watch ends as soon as it is stopped, and leaves no event behind.
  ScriptedSampler idle({95.0});
  MonitorRun quiet{&idle, 5, WatchdogTarget{probe.window_, nullptr, stop.Get()}};
  monitor = CreateThread(nullptr, 0, MonitorThread, &quiet, 0, nullptr);
  ASSERT_NE(monitor, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return idle.skipped() >= 1; }));
  SetEvent(stop.Get());
  EXPECT_EQ(WaitForSingleObject(monitor, 5000), WAIT_OBJECT_0) << "the watch ends once stopped";
  EXPECT_EQ(handlerStartWake.load(), nullptr);
  CloseHandle(monitor);
}

TEST(CpuMonitor, ASampleOfExactlyNinetyStartsTheCountAgain) {
  ScriptedSampler sampler({95, 95, 95, 95, 95, 95, 95, 95, 95, 90.0, 95});
  EXPECT_EQ(SamplesUntilClose(&sampler), 20);
}

// Reads 95 and marks pictures as loading from its `from`th sample up to and
// including its `to`th, as a start of the star field with a big folder would.
class LoadingSampler : public ScriptedSampler {
 public:
  LoadingSampler(LONG from, LONG to) : ScriptedSampler({95.0}), from_(from), to_(to) {}
  ~LoadingSampler() override { delete loading_; }
  double Sample() override {
    double value = ScriptedSampler::Sample();
    if (taken() == from_) loading_ = new PictureLoading;
    if (taken() == to_) {
      delete loading_;
      loading_ = nullptr;
    }
    return value;
  }

 private:
  LONG from_, to_;
  PictureLoading* loading_ = nullptr;
};

TEST(CpuMonitor, SamplesTakenWhilePicturesLoadDoNotCount) {
  // Two high samples, then ten taken while pictures load (the tenth sees the
  // load end): the run starts again after them, and ten more are needed.
  LoadingSampler sampler(3, 12);
  EXPECT_EQ(SamplesUntilClose(&sampler), 22);
  EXPECT_EQ(picturesLoading, 0);
}

// The main window's watchdog as the program starts it, fed a sampler that
// reads 95, against the program's real main window and message loop: the
// window closes, the star field stops, the loop ends with WM_QUIT and the
// watch ends.
TEST(CpuMonitor, TheWatchdogThreadEndsTheProgramsMessageLoop) {
  appInstance = GetModuleHandleA(nullptr);
  LoadUiTexts();
  ScriptedSampler sampler({95.0});
  CpuMonitorSource source{&sampler, 5};
  MainWindowOptions options;
  options.watchdog = true;
  options.watchdogSource = &source;
  MainWindow shell(options);  // settings in memory (no INI path)
  MainWindow::RegisterMainWindowClass(appInstance);
  std::optional<HandlerRunning> runaway{std::in_place};  // as if a handler never returned
  HWND window = shell.CreateMainWindow(appInstance);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(shell.Watch().Running());

  // The program's own loop, with a thread timer as the test's deadline.
  UINT_PTR deadline = SetTimer(nullptr, 0, 20000, nullptr);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (message.hwnd == nullptr && message.message == WM_TIMER && message.wParam == deadline) break;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  bool quit = message.message == WM_QUIT;
  runaway.reset();
  KillTimer(nullptr, deadline);

  EXPECT_TRUE(quit) << "the loop must end with WM_QUIT";
  EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(shell.Watch().Ended(5000)) << "the watch ends after its close request";
  // Samples taken while the star field's start loaded its pictures did not
  // count: ten or more in all.
  EXPECT_GE(sampler.taken(), 10);
  EXPECT_EQ(sampler.closed(), 1);
  EXPECT_EQ(shell.Field(), nullptr) << "closing stops the star field";
}

// Keeps this thread busy for the given wall time.
void Spin(DWORD ms) {
  ULONGLONG end = GetTickCount64() + ms;
  volatile unsigned counter = 0;
  while (GetTickCount64() < end) counter = counter + 1;
}

// The measurement used where the performance counter is missing (as here,
// under Wine): a spinning thread reads as the share of the time it got the
// processor (little on a loaded machine, but never nothing), a waiting one low.
TEST(ProcessTimesSampler, TellsABusyProcessFromAnIdleOne) {
  ProcessTimesSampler sampler;
  FILETIME created, exited, kernelBefore, userBefore, kernelAfter, userAfter;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernelBefore, &userBefore);
  ULONGLONG start = GetTickCount64();
  Spin(400);
  double busy = sampler.Sample();
  double wallMs = static_cast<double>(GetTickCount64() - start);
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernelAfter, &userAfter);
  auto ms = [](const FILETIME& t) {
    return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
  };
  double spunPercent = 100.0 * (ms(kernelAfter) + ms(userAfter) - ms(kernelBefore) - ms(userBefore)) / wallMs;

  HANDLE never = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  WaitForSingleObject(never, 400);  // the idle measurement window
  CloseHandle(never);
  double idle = sampler.Sample();

  // The whole process used at least what the spinning thread did (other
  // threads add a little), in percent of one processor.
  EXPECT_GT(busy, 5.0);
  EXPECT_GE(busy, spunPercent * 0.8) << "the spinning thread alone used " << spunPercent << " %";
  EXPECT_LT(idle, busy);
  EXPECT_LT(idle, 20.0);
  EXPECT_GE(idle, 0.0);
}

}  // namespace
