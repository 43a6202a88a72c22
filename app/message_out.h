// The one message box through which every user-facing error is shown.
#pragma once
#include <windows.h>

#include <cstddef>

// A box owned by the given window (the main window), caption "Pipwink2", OK
// only, no icon, brought to the foreground; returns when the user closes it.
// The text is UTF-16, so it reads right whatever the ANSI code page.
void MessageOut(HWND owner, const wchar_t* text);
// Whether such a box shows now, on any thread (for the status query).
bool MessageShowing();

// A path or file name in the ANSI code page as UTF-16 for a message (out
// holds size characters and is always NUL-terminated).
void AnsiPathToWide(const char* text, wchar_t* out, size_t size);
