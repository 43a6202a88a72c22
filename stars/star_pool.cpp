#include <new>

#include "base/app_state.h"
#include "base/settings.h"
#include "base/ui_texts.h"
#include "cells/private_messages.h"
#include "images/image_set.h"
#include "stars/motion_rules.h"
#include "stars/pupil_window.h"
#include "stars/random_source.h"
#include "stars/star_field.h"
#include "stars/star_groups.h"

namespace {

// Closes the window and frees its record; the record's destructor clears the
// window's user-data slot before the memory goes.
void ReleaseStarWindow(Star* star) {
  if (star->window == nullptr) return;
  ReleaseStarNumber(star->window);  // a number picture goes before its window record
  star->window->PostClose();
  delete star->window;
  star->window = nullptr;
}

}  // namespace

int32_t GetRandomImageIndex() { return DrawImageIndex(StarImageList.Count()); }

Star* GetStarByHWND(HWND window) {
  if (starListHead == nullptr || window == nullptr) return nullptr;
  for (Star* s = starListHead->next; s != starListTail; s = s->next) {
    if (s->window != nullptr && s->window->hwnd == window) return s;
  }
  return nullptr;
}

Star* CreateNewStar(int32_t x, int32_t y, int32_t imageIndex) {
  if (starListHead == nullptr) return nullptr;
  Star* star = new (std::nothrow) Star{};
  if (star == nullptr) return nullptr;
  star->inUse = 1;
  star->count = 1;
  star->imageIndex = imageIndex;
  star->x = x;
  star->y = y;
  SetInitialSpeed(star);

  star->window = new (std::nothrow) PupilWindow();
  PupilWindow* window = star->window;
  if (window != nullptr) {
    window->Create(mainWindow, starCursor);
    window->SetMenuTexts(&UiTexts);
  }
  SetInitialPosition(star);
  ImageSet* image = StarImageList.Get(imageIndex);
  if (window != nullptr && image != nullptr) {
    window->framesSideBySide = image->framesSideBySide;
    window->frameCount = image->frameCount;
    window->frameIndex = 0;
    window->SetImage(image->dc, image->frameWidth, image->frameHeight);
  }
  if (window != nullptr) {
    window->MoveTo(POINT{star->x, star->y});
    window->ShowTopmost();
  }
  LinkStarBeforeTail(star);
  return star;
}

void RecycleStar(Star* star, int32_t x, int32_t y) {
  if (starListHead == nullptr || star == nullptr) return;
  star->x = x;
  star->y = y;
  SetInitialSpeed(star);
  SetInitialPosition(star);
  star->inUse = 1;
  star->chained = 0;
  star->delay = 0;
  star->bombCountdown = 0;
  star->count = 1;
  if (star->window != nullptr) {
    star->window->frameIndex = 0;
    star->window->MoveTo(POINT{star->x, star->y});
    star->window->ShowTopmost();
  }
}

void DestroyStar(Star* star) {
  if (star == nullptr) return;
  if (star->window != nullptr) star->window->Hide();
  if (star == lastGeneratedStar) lastGeneratedStar = nullptr;
  UnlinkStar(star);
  ReleaseStarWindow(star);
  delete star;
}

int EnsureManyStars() {
  if (starListHead == nullptr) return 0;
  int grabbedStars = 0;
  for (Star* s = starListHead->next; s != starListTail; s = s->next) {
    if (s->window != nullptr && s->window->grabbed && ++grabbedStars > 1) return 1;
  }
  return 0;
}

void GenerateStars(uint32_t kind, int32_t x, int32_t y) {
  int32_t passes = StarsForEvent(kind, Settings.quantity);
  for (int32_t pass = 0; pass < passes; ++pass) {
    int32_t imageIndex = GetRandomImageIndex();
    if (imageIndex < 0) return;  // no picture to show
    Star* star = GetFreeStar(imageIndex);
    if (star != nullptr) {
      RecycleStar(star, x, y);
    } else {
      star = CreateNewStar(x, y, imageIndex);
    }
    lastGeneratedStar = kind == PWM_HOOK_KEY ? nullptr : star;
  }
}

void FreeStarList() {
  if (starListHead == nullptr) return;
  Star* s = starListHead->next;
  while (s != starListTail) {
    Star* next = s->next;
    ReleaseStarWindow(s);
    delete s;
    s = next;
  }
  delete starListHead;
  delete starListTail;
  starListHead = nullptr;
  starListTail = nullptr;
  lastGeneratedStar = nullptr;
}
