// The notification-area icon, the program's only visible handle for the user
// (the main window holds it), and the icons and cursor made from the "ICO32"
// artwork.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include "base/owned_handles.h"

// How the icon reaches the shell: Shell_NotifyIconW, or a test's fake.
using NotifyIconCall = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAW data);

// At sign-in the program may start before the shell takes icons: a failed
// first add is tried again this often, this many times (a shell that starts
// later announces itself with "TaskbarCreated" anyway).
constexpr UINT kTrayAddRetryMs = 500;
constexpr int kTrayAddRetries = 120;

// Lets the shell's "TaskbarCreated" through to a copy run as administrator,
// whose window the system otherwise shields from the (unelevated) shell's
// messages. Nonzero on success.
BOOL LetTaskbarCreatedThrough(HWND window, UINT taskbarCreated);

class TrayIcon {
 public:
  explicit TrayIcon(NotifyIconCall notify = nullptr);
  // Adds the icon (id 1) with the callback message and tip. Nonzero on success.
  // Adding again (after the shell restarted) frees the icon it replaces.
  BOOL Add(HWND window, int iconId, UINT callbackMessage, const wchar_t* tip);
  // Rebuilds the icon from iconId when it is nonzero and replaces the tip when
  // one is given; with neither, does nothing.
  BOOL Modify(int iconId, const wchar_t* tip);
  BOOL Remove();
  // Shows a balloon with the text beside the icon. Nonzero on success.
  BOOL ShowBalloon(const wchar_t* text);
  // The text of the last balloon shown; empty before the first.
  const wchar_t* Balloon() const { return data_.szInfo; }
  // The notification area's icon at the small icon size the display asks for
  // (MakeIconAt); null for an id that names no art.
  HICON MakeIcon(int iconId);
  // At 16 x 16, the icon with per-pixel alpha from an "ICO32" resource; at
  // another size (a scaled display), the program's own star icon made at that
  // size from its largest image, so it is never blurred up from 16 pixels.
  HICON MakeIconAt(int iconId, int size);
  // The tip the icon shows now.
  const wchar_t* Tip() const { return data_.szTip; }
  // The icon handed to the shell last; the object owns it.
  HICON Icon() const { return icon_.Get(); }

 private:
  // Makes the icon of iconId the one the record names, freeing the one before.
  void TakeIcon(int iconId);

  NOTIFYICONDATAW data_;
  UniqueIcon icon_;
  HMODULE module_;
  NotifyIconCall notify_;
};

// A 32 x 32 cursor with per-pixel alpha from an "ICO32" resource of
// appInstance, with the given hot spot; null on failure.
HCURSOR PrepairAlphaIcon(int iconId, int hotX, int hotY);
