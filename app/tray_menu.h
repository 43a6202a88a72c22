// The tray icon's popup menu, rebuilt each time it is shown so that the
// enable item always says what it will do.
#pragma once
#include <windows.h>

extern HMENU trayMenu;  // null except while the menu is shown

// Builds the menu into trayMenu unless it exists: version information,
// separator, settings, separator, disable or enable, exit.
void InitMenu();
