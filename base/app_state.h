// What stays global in the program, each for the reason given with it
// (docs/architecture.md lists them all). Everything else the shell holds
// belongs to its main window (app/main_window.h).
#pragma once
#include <windows.h>

#include "base/activity_marks.h"

// The program's module: resources, dialogs and window classes are found
// through it. It is the process's identity, set once by WinMain before any
// window or thread exists and never changed.
extern HINSTANCE appInstance;

// Gives the process's unused pages back to the system: at start, after the
// star field stops, and when the user pauses it.
void TrimWorkingSet();

// The names that identify the running program to the system.
constexpr char kMainClassName[] = "Pipwink2";
constexpr char kMutexName[] = "Pipwink2";
