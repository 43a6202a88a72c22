// The one message box through which every user-facing error is shown.
#pragma once

// A box owned by the main window, caption "Pipwink2", OK only, no icon,
// brought to the foreground; returns when the user closes it. The text is
// UTF-16, so it reads right whatever the ANSI code page.
void MessageOut(const wchar_t* text);
