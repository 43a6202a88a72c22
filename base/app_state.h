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

constexpr char kMainClassName[] = "Pipwink2";
constexpr char kMutexName[] = "Pipwink2";

// The settings dialog's window once it has been initialised; read only while
// settingsDialogOpen is set.
extern HWND settingsDialog;
