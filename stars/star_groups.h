// Bombs, connected stars, counts and the chase game over the global star
// list. The main window calls these for the star windows' messages; all run
// on its thread, and each does nothing while the star list does not exist.
#pragma once
#include <windows.h>

#include <cstdint>

#include "stars/star.h"

class PupilWindow;

// Arms one star (the erase item of its menu): its poof starts at the next
// tick. A null star, or a free one waiting in the pool, is left alone.
void BombStar(Star* star);

// Arms every grabbed star so that they go off one per tick, the last one in
// list order first.
void BeginBomb();

// One tick of an armed star, after its motion step: counts down, shows the
// poof frame of the countdown, and destroys the star at its end. The star
// may be gone afterwards.
void StepBomb(Star* star);

// A star window released at the end of a drop: joins its star into the first
// grabbed star of the same image whose centre lies close enough. Returns that
// group, the dropped star if it joined none, or null if the handle is no star's.
Star* ConnectStar(HWND window);

// Joins the grabbed stars of each image into the one nearest the head of the
// list, which takes the sum of their counts; no window moves. The handle
// only has to be some star's.
void AllTogetherStar(HWND window);

// Draws n (more than 1) into the lower right corner of the star's current
// frame, in a number picture of the window's own; the star stops animating.
void SetStarNumber(Star* star, int n);

// The first press on a star window: marks the last generated star as the
// chase target and, if the grabbed star is one, awards it the chain value.
void GrabStar(HWND window);

// Releases the window's number picture, if it owns one.
void ReleaseStarNumber(PupilWindow* window);
