// The settings dialog's test display: every picture of a folder in a star
// window of its own, side by side below the dialog, until the next test or
// the dialog's end. Runs on the dialog's thread.
#pragma once
#include "images/image_list.h"
#include "images/image_set.h"
#include "stars/pupil_window.h"

extern ImageList<ImageSet> TestImageList;     // the pictures shown
extern ImageList<PupilWindow> TestStarList;   // their windows, each closed with its record

// Shows every picture of the folder side by side below the settings dialog,
// telling the user when the folder is missing or gives no picture, which
// files could not be read, or when the screen ran out of room.
void ViewImageListInFolder(const char* folder);

// Removes the test display: its windows and pictures.
void CleanUpImageList();
