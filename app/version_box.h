// The version box: the version picture in a borderless topmost window centred
// on the screen, closed by releasing the left button over it. It is built
// like a star but belongs to no star list. The main window holds one.
#pragma once
#include <windows.h>

#include <memory>

#include "images/win32/image_set.h"
#include "stars/win32/pupil_window.h"

// Like its picture, never copied.
class VersionBox {
 public:
  ~VersionBox() { DestroyAboutBox(); }

  // Builds and shows the box, owned by owner, which hears PWM_ABOUT_CLOSED
  // when it is clicked away; 0, with nothing made, when the picture can't be.
  int ViewAboutBox(HWND owner, HCURSOR cursor);
  // Closes the box and frees everything it holds; harmless when none is shown.
  void DestroyAboutBox();

  // Whether a box is shown (a second command then shows no second one).
  bool IsOpen() const { return versionBox_ != nullptr; }
  // The box's window, null while none is shown.
  HWND Window() const;
  // The picture the box shows.
  const ImageSet& Picture() const { return versionPicture_; }

 private:
  ImageSet versionPicture_;     // empty while no box is shown
  std::unique_ptr<PupilWindow> versionBox_;  // null while no box is shown
};
