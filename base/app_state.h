// Handles and flags of the running program, shared by the shell's parts.
#pragma once
#include <windows.h>

extern HINSTANCE appInstance;
extern HANDLE instanceMutex;
extern HWND mainWindow;
extern HCURSOR starCursor;

// Gates, 0 or 1: aligned 32-bit values read by the main thread without a lock.
extern volatile LONG reactionEnabled;
extern volatile LONG settingsDialogOpen;
extern volatile LONG versionBoxOpen;

// Work under way and finished so far, counted for the watchdog.
// Picture loads: the watchdog skips samples taken while pictures load, since
// a folder of big pictures is legitimate work at full processor use.
extern volatile LONG picturesLoading;
extern volatile LONG pictureLoadsDone;
// Message handlers of the main thread: while none runs and none ran since its
// last sample, the thread has only waited for messages, and the watchdog has
// nothing to measure (a measurement is a system call that wakes it).
extern volatile LONG handlersRunning;
extern volatile LONG handlersDone;

// Marks one piece of such work as under way for as long as it lives (any
// thread).
template <volatile LONG* Running, volatile LONG* Done>
class ActivityMark {
 public:
  ActivityMark() { InterlockedIncrement(Running); }
  ~ActivityMark() {
    InterlockedIncrement(Done);
    InterlockedDecrement(Running);
  }
  ActivityMark(const ActivityMark&) = delete;
  ActivityMark& operator=(const ActivityMark&) = delete;
};
using PictureLoading = ActivityMark<&picturesLoading, &pictureLoadsDone>;
using HandlerRunning = ActivityMark<&handlersRunning, &handlersDone>;

constexpr char kMainClassName[] = "Pipwink2";
constexpr char kMutexName[] = "Pipwink2";

// The settings dialog's window once it has been initialised; read only while
// settingsDialogOpen is set.
extern HWND settingsDialog;
