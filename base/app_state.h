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

// Picture loads under way and finished so far. The watchdog skips samples
// taken while pictures load: a folder of big pictures is legitimate work at
// full processor use. Changed only through PictureLoading.
extern volatile LONG picturesLoading;
extern volatile LONG pictureLoadsDone;

// Marks pictures as loading for as long as it lives (any thread).
class PictureLoading {
 public:
  PictureLoading() { InterlockedIncrement(&picturesLoading); }
  ~PictureLoading() {
    InterlockedIncrement(&pictureLoadsDone);
    InterlockedDecrement(&picturesLoading);
  }
  PictureLoading(const PictureLoading&) = delete;
  PictureLoading& operator=(const PictureLoading&) = delete;
};

constexpr char kMainClassName[] = "Pipwink2";
constexpr char kMutexName[] = "Pipwink2";

// The settings dialog's window once it has been initialised; read only while
// settingsDialogOpen is set.
extern HWND settingsDialog;
