// What a start of the star field found that the user must hear of; the shell
// tells them.
#pragma once
#include "images/folder_scan.h"

struct StartReport {
  int someUnreadable;  // the folder gave pictures, but some files did not load
  int folderUnusable;  // the folder gave none: the built-in star is used
  int noStarPicture;   // not even the built-in star could be made: the program must end
  int picturesPending; // the folder's pictures still load: what they give is reported when they come
  FolderScanReport folder;  // what the scan of the picture folder found wrong
};
