// The one message box through which every user-facing error is shown.
#pragma once

// A box owned by the main window, caption "Pipwink2", OK only, no icon,
// brought to the foreground; returns when the user closes it.
void MessageOut(const char* text);
