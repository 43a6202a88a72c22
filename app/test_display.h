// The settings dialog's test display: every picture of a folder in a star
// window of its own, side by side below the dialog, until the next test or
// the dialog's end. The dialog's session holds one; it lives on the dialog's
// thread.
#pragma once
#include <windows.h>

#include "images/image_list.h"
#include "images/win32/image_set.h"
#include "stars/win32/pupil_window.h"

struct DisplaySpot;

// Whom the display's windows and messages belong to.
struct TestDisplayHost {
  HWND owner;     // the main window: owns the star windows and the message boxes
  HCURSOR cursor; // the star windows' cursor
  HWND dialog;    // the display goes below it; null: from the top of the screen
};

// Like its lists, never copied.
class TestDisplay {
 public:
  ~TestDisplay() { CleanUpImageList(); }

  // Shows every picture of the folder side by side below the dialog, telling
  // the user when the folder is missing or gives no picture, which files
  // could not be read, or when the screen ran out of room.
  void ViewImageListInFolder(const char* folder, const TestDisplayHost& host);
  // Removes the test display: its windows and pictures.
  void CleanUpImageList();

  const ImageList<ImageSet>& Pictures() const { return TestImageList; }
  const ImageList<PupilWindow>& Stars() const { return TestStarList; }

 private:
  // Loads the folder's pictures and tells what went wrong; nonzero when some came.
  int LoadAndTell(const char* folder, HWND owner);
  // The place of each picture on the screen; how many found room, -1 on no memory.
  int LayOut(const TestDisplayHost& host, DisplaySpot* spots);
  // A star window showing picture k at spot; false when it could not be kept.
  bool AddTestStar(int k, DisplaySpot spot, const TestDisplayHost& host);

  ImageList<ImageSet> TestImageList;  // the pictures shown
  ImageList<PupilWindow> TestStarList;  // their windows, each closed with its record
};
