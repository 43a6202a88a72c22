// Small helpers over dialog controls, used by the settings dialog (and
// SetCenterWindow by the version box).
#pragma once
#include <windows.h>

// Centres a window on the primary screen, keeping its size.
void SetCenterWindow(HWND window);

// Enables or disables a run of radio-like siblings: the first control (which
// must start a group and be a radio or group-box-like button) and every
// following sibling up to one that starts a new group or has neither style
// bit 0x0001 nor 0x0008.
void GroupRadioEnable(HWND first, BOOL enable);

// Shows the value in the label and sets the up-down control to 1..9 at value.
void InitLocalSpin(HWND upDown, HWND label, int value);

// 1 when the button is checked, else 0.
int GetDlgBoolByInt(HWND dialog, int controlId);
