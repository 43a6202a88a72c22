// The hidden main window: the program's switchboard for hook events, star
// windows, the tray icon and the motion timer.
#pragma once
#include <windows.h>

class StarField;

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Registers the main window class "Pipwink2"; 0 on failure.
ATOM RegisterMainWindowClass(HINSTANCE instance);

// Creates the hidden main window; its WM_CREATE adds the tray icon, sets up
// the shared cells and loads the settings.
HWND CreateMainWindow(HINSTANCE instance);

// Rebuilds the star field on the main window's thread, which owns the timer,
// the star list and the star windows; called from the settings dialog's
// thread, it returns when the restart is done.
void RequestStarFieldRestart();

// The main window's star field; null before WM_CREATE and after WM_DESTROY.
StarField* MainStarField();
