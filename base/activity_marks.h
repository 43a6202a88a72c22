// The watchdog's activity marks: work under way and finished so far. They
// are plain atomics, so every layer and every front end may mark its work.
#pragma once
#include <atomic>
#include <cstdint>

// Work under way and finished so far, counted for the watchdog. Marked by
// whatever thread does the work, in every layer (the star windows' and the
// main window's handlers, the message loop, the folder's loader, the test
// display) and read by the watchdog's thread: the watchdog measures the whole
// process, and the marks keep the star field and the images free of the shell.
// Picture loads: the watchdog skips samples taken while pictures load, since
// a folder of big pictures is legitimate work at full processor use.
extern std::atomic<int32_t> picturesLoading;
extern std::atomic<int32_t> pictureLoadsDone;
// Message handlers of the main thread: while none runs and none ran since its
// last sample, the thread has only waited for messages, and the watchdog has
// nothing to measure (a measurement is a system call that wakes it).
extern std::atomic<int32_t> handlersRunning;
extern std::atomic<int32_t> handlersDone;

// While the main thread only waits, the watchdog sleeps until a handler
// starts: it leaves here how to wake it, and the first handler to start takes
// that and calls it. Empty while the watchdog samples, so a handler costs one
// load. A plain call and context, so that each front end wakes its watchdog
// with its own kind of event.
struct WatchdogWake {
  void (*wake)(void* context);
  void* context;
};
extern std::atomic<const WatchdogWake*> handlerStartWake;

inline void WakeSleepingWatchdog() {
  if (handlerStartWake.load() == nullptr) return;
  if (const WatchdogWake* wake = handlerStartWake.exchange(nullptr)) wake->wake(wake->context);
}

// Marks one piece of such work as under way for as long as it lives (any
// thread).
template <std::atomic<int32_t>* Running, std::atomic<int32_t>* Done, bool WakesWatchdog>
class ActivityMark {
 public:
  ActivityMark() {
    Running->fetch_add(1);
    if constexpr (WakesWatchdog) WakeSleepingWatchdog();
  }
  ~ActivityMark() {
    Done->fetch_add(1);
    Running->fetch_sub(1);
  }
  ActivityMark(const ActivityMark&) = delete;
  ActivityMark& operator=(const ActivityMark&) = delete;
};
using PictureLoading = ActivityMark<&picturesLoading, &pictureLoadsDone, false>;
using HandlerRunning = ActivityMark<&handlersRunning, &handlersDone, true>;
