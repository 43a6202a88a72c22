// Starting, stopping, restarting, and switching off and on the star field as a
// whole. All run on the main window's thread.
#pragma once
#include "images/folder_scan.h"

// What a start found that the user must hear of; the shell tells them.
struct StartReport {
  int someUnreadable;  // the folder gave pictures, but some files did not load
  int folderUnusable;  // the folder gave none: the built-in star is used
  int noStarPicture;   // not even the built-in star could be made: the program must end
  FolderScanReport folder;  // what the scan of the picture folder found wrong
};

// Artwork, star pictures, an empty star list, the motion timer; reaction on.
StartReport StartPipwink();
// Reaction off, timer off, and every picture, star and star window released.
void StopPipwink();
// Both in a row: the star field rebuilt from the (possibly changed) settings.
StartReport RestartPipwink();
// Grabbed stars shown again; reaction on.
void EnablePipwink();
// Grabbed stars hidden (flying ones finish their flight); reaction off.
void DisablePipwink();
