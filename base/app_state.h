// What stays global in the program, each for the reason given with it
// (docs/architecture.md lists them all). Everything else the shell holds
// belongs to its main window (app/main_window.h).
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>

// The program's module: resources, dialogs and window classes are found
// through it. It is the process's identity, set once by WinMain before any
// window or thread exists and never changed.
extern HINSTANCE appInstance;

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
// starts: it leaves an event here, and the first handler to start takes it
// and sets it. Empty while the watchdog samples, so a handler costs one load.
extern std::atomic<HANDLE> handlerStartWake;

inline void WakeSleepingWatchdog() {
  if (handlerStartWake.load() == nullptr) return;
  if (HANDLE wake = handlerStartWake.exchange(nullptr)) SetEvent(wake);
}

// Marks one piece of such work as under way for as long as it lives (any
// thread).
template <std::atomic<int32_t>* Running, std::atomic<int32_t>* Done>
class ActivityMark {
 public:
  ActivityMark() {
    Running->fetch_add(1);
    if constexpr (Running == &handlersRunning) WakeSleepingWatchdog();
  }
  ~ActivityMark() {
    Done->fetch_add(1);
    Running->fetch_sub(1);
  }
  ActivityMark(const ActivityMark&) = delete;
  ActivityMark& operator=(const ActivityMark&) = delete;
};
using PictureLoading = ActivityMark<&picturesLoading, &pictureLoadsDone>;
using HandlerRunning = ActivityMark<&handlersRunning, &handlersDone>;

// Gives the process's unused pages back to the system: at start, after the
// star field stops, and when the user pauses it.
void TrimWorkingSet();

// The names that identify the running program to the system.
constexpr char kMainClassName[] = "Pipwink2";
constexpr char kMutexName[] = "Pipwink2";
