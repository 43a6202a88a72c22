// The hidden main window: the program's switchboard for hook events, star
// windows, the tray icon and the motion timer.
#pragma once
#include <windows.h>

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Registers the main window class "Pipwink2"; 0 on failure.
ATOM RegisterMainWindowClass(HINSTANCE instance);

// Creates the hidden main window; its WM_CREATE sets up the shared cells.
HWND CreateMainWindow(HINSTANCE instance);
