// The version box: the version picture in a borderless topmost window centred
// on the screen, closed by releasing the left button over it. It is built
// like a star but belongs to no star list.
#pragma once
#include <memory>

#include "images/image_set.h"
#include "stars/pupil_window.h"

extern ImageSet versionPicture;                  // empty while no box is shown
extern std::unique_ptr<PupilWindow> versionBox;  // empty while no box is shown

// Builds and shows the box; 0, with nothing made, when the picture can't be.
int ViewAboutBox();

// Closes the box and frees everything it holds; harmless when none is shown.
void DestroyAboutBox();
