// The notification-area icon, the program's only visible handle for the user,
// and the icons and cursor made from the "ICO32" artwork.
#pragma once
#include <windows.h>
#include <shellapi.h>

class TrayIcon {
 public:
  TrayIcon();
  // Adds the icon (id 1) with the callback message and tip. Nonzero on success.
  BOOL Add(HWND window, int iconId, UINT callbackMessage, const char* tip);
  // Rebuilds the icon from iconId when it is nonzero and replaces the tip when
  // one is given; with neither, does nothing.
  BOOL Modify(int iconId, const char* tip);
  BOOL Remove();
  // A 16 x 16 icon with per-pixel alpha from an "ICO32" resource, or null.
  HICON MakeIcon(int iconId);
  // The tip the icon shows now.
  const char* Tip() const { return data_.szTip; }

 private:
  NOTIFYICONDATAA data_;
  HMODULE module_;
};

extern TrayIcon trayIcon;

// A 32 x 32 cursor with per-pixel alpha from an "ICO32" resource of
// appInstance, with the given hot spot; null on failure.
HCURSOR PrepairAlphaIcon(int iconId, int hotX, int hotY);
