// Small helpers over dialog controls, used by the settings dialog (and
// SetCenterWindow by the version box).
#pragma once
#include <windows.h>

#include "base/settings.h"

// Centres a window on the primary screen, keeping its size.
void SetCenterWindow(HWND window);

// Enables or disables a run of radio-like siblings: the first control (which
// must start a group and be a radio or group-box-like button) and every
// following sibling up to one that starts a new group or has neither style
// bit 0x0001 nor 0x0008.
void GroupRadioEnable(HWND first, BOOL enable);

// Widens each check box, radio button and static label whose text does not
// fit, as measured with the dialog's own font, up to the next control on its
// row or the dialog's margin; a text that fits leaves its control alone. A
// template font the system lacks comes back wider, and a label must not be cut.
void WidenCutLabels(HWND dialog);

// The width a control's text needs, in pixels, with the font it draws with:
// the text's extent, and a check box's or radio button's mark beside it.
int LabelWidthNeeded(HWND control);

// A path typed in UTF-16 as the settings keep it, in the ANSI code page in
// out (kTextSize bytes). The ANSI code page may lack some characters of the
// name, and a cut path would name another folder: then out is empty.
enum PathFit { kPathFits = 0, kPathNotAnsi = 1, kPathTooLong = 2 };
PathFit WideToAnsiPath(const wchar_t* wide, char* out);

// Shows the value in the label and sets the up-down control to 1..9 at value.
void InitLocalSpin(HWND upDown, HWND label, int value);

// 1 when the button is checked, else 0.
int GetDlgBoolByInt(HWND dialog, int controlId);
