// Input the system hands the hook library out of context. The library cannot
// be mapped into a 32-bit program or an app container, so the system calls
// the procedures for their input on the thread that installed the hooks, in
// the program's own process (the hook thread, which does nothing but answer
// them). There the calling thread's focus and caret, and this process's name,
// say nothing about the input: the caret comes from the input's thread, and
// the list of programs left alone is checked against the input's process.
#pragma once
#include <windows.h>

#include "cells/cell_views.h"

// StartHook records the thread that installed the hooks; EndHook clears it (0).
void SetHookThread(DWORD thread);
// Lets go of the processes ProcessIsLeftAlone watches; before the library goes.
void ForgetProcesses();

// Whether this call runs on the hook thread. No system call: in every other
// thread, the one test the in-context path pays.
bool OnHookThread();

// Copies the file name at the end of path (MAX_PATH characters) into name.
void TakeFileName(const wchar_t* path, wchar_t* name);

// The process that owns the window when it is not this one, else 0.
DWORD OtherProcessOf(HWND window);

// The foreground thread's focus, active and caret windows and caret (as the
// keyboard input goes there) and the process they belong to; false when
// there is no such thread or window.
bool ForegroundInput(GUITHREADINFO* info, DWORD* processId);

// Whether the user left the program of that process alone (EXCLUDE). The
// image name of each process is looked up once (one open and one query) and
// kept in a small table with its decision, which is made again only when the
// list changes. Only the hook thread calls it.
bool ProcessIsLeftAlone(const CellViews& views, DWORD processId);
