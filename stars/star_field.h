// The star field's operations over the global star list and real star
// windows. All run on the main window's thread; every one does nothing (or
// returns null / 0) while the list does not exist.
#pragma once
#include <windows.h>

#include <cstdint>

#include "stars/star.h"

// A random index into StarImageList; -1 when the list is empty.
int32_t GetRandomImageIndex();

// The star whose window has that handle, in use or free; null for none (and
// for a null handle, which a star without a window must not match).
Star* GetStarByHWND(HWND window);

// A new live star of that image, started beside the event point and shown.
Star* CreateNewStar(int32_t x, int32_t y, int32_t imageIndex);

// Brings a free star back to life beside the event point.
void RecycleStar(Star* star, int32_t x, int32_t y);

// Removes a star for good: hides and closes its window, frees both records.
void DestroyStar(Star* star);

// 1 if at least two stars are grabbed, else 0.
int EnsureManyStars();

// The stars of one input event: kind is PWM_HOOK_CLICK, PWM_HOOK_MOVE or
// PWM_HOOK_KEY; x, y the event point on the screen.
void GenerateStars(uint32_t kind, int32_t x, int32_t y);

// Moves x, y of the star from the event point to its start corner, by the
// frame size of its image.
void SetInitialPosition(Star* star);

// One motion tick for every star.
void MoveStar();

// Frees every star, its window record and number picture, closes the
// windows and removes the sentinels: the star field's part of stopping.
void FreeStarList();
