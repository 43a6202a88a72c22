// Building the lists of star pictures: from the PNG files of a folder, or from
// the built-in star; and the settings dialog's test display of a folder.
#pragma once
#include <cstdint>

#include "images/image_set.h"

// The marker search over ANSI text in the system code page.
int SearchSubString(const char* text, const char* pattern);

// 1 when the file became an ImageSet appended to list, else 0. "_fix" in the
// path keeps the picture's size (otherwise it is reduced to fit 72 x 72);
// "_anm" cuts it into square frames along its long side.
int PrepairStarImageByFile(const char* path, ImageList<ImageSet>* list);

// Every *.png directly in the folder, in the file system's order. Shows the
// "some images were unreadable" message when a file failed and others loaded.
// Nonzero when list holds at least one picture afterwards.
int PrepairStarImageByFolder(const char* folder, ImageList<ImageSet>* list);

// The built-in star (BITARRAY resourceId of width x height) at full size, 48
// and 32 into StarImageList. 0, after telling the user and closing the
// program, when it cannot be made.
int PrepairStarImage(int resourceId, int32_t width, int32_t height);

// Shows every picture of the folder side by side below the settings dialog.
void ViewImageListInFolder(const char* folder);

// Removes the test display: its windows and pictures.
void CleanUpImageList();
