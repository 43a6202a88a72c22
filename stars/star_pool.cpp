#include <new>

#include "cells/private_messages.h"
#include "stars/motion_rules.h"
#include "stars/pupil_window.h"
#include "stars/random_source.h"
#include "stars/star_field.h"

StarField::StarField(const StarFieldHost& fieldHost) : host(fieldHost) {}

StarField::~StarField() { StopPipwink(); }

// Closes the window and frees its record; the record's destructor clears the
// window's user-data slot (so the posted WM_CLOSE closes it) and releases its
// number picture.
void StarField::ReleaseStarWindow(Star* star) {
  if (star->window == nullptr) return;
  star->window->PostClose();
  delete star->window;
  star->window = nullptr;
}

int32_t StarField::GetRandomImageIndex() {
  int32_t index = DrawImageIndex(StarImageList.Count() - firstDrawnImage);
  return index < 0 ? -1 : firstDrawnImage + index;
}

Star* StarField::GetStarByHWND(HWND window) const {
  if (starListHead == nullptr || window == nullptr) return nullptr;
  for (Star* s = starListHead->next; s != starListTail; s = s->next) {
    if (s->window != nullptr && s->window->Handle() == window) return s;
  }
  return nullptr;
}

Star* StarField::CreateNewStar(int32_t x, int32_t y, int32_t imageIndex) {
  if (starListHead == nullptr) return nullptr;
  Star* star = new (std::nothrow) Star{};
  if (star == nullptr) return nullptr;
  star->inUse = 1;
  star->count = 1;
  star->imageIndex = imageIndex;
  star->x = x;
  star->y = y;
  SetInitialSpeed(star, host.settings->moveRange);

  star->window = new (std::nothrow) PupilWindow();
  PupilWindow* window = star->window;
  if (window != nullptr) {
    window->Create(host.owner, host.cursor);
    window->SetMenuTexts(host.texts);
  }
  SetInitialPosition(star);
  ImageSet* image = StarImageList.Get(imageIndex);
  if (window != nullptr && image != nullptr) {
    window->SetFrames(image->frameCount, image->framesSideBySide);
    window->SetImage(image->DC(), image->frameWidth, image->frameHeight);
  }
  if (window != nullptr) window->ShowTopmostAt(POINT{star->x, star->y});
  LinkStarBeforeTail(star);
  StartMotion();
  return star;
}

void StarField::RecycleStar(Star* star, int32_t x, int32_t y) {
  if (starListHead == nullptr || star == nullptr) return;
  star->x = x;
  star->y = y;
  SetInitialSpeed(star, host.settings->moveRange);
  SetInitialPosition(star);
  star->inUse = 1;
  star->chained = 0;
  star->delay = 0;
  star->bombCountdown = 0;
  star->count = 1;
  if (star->window != nullptr) {
    star->window->RewindAnimation();
    star->window->ShowTopmostAt(POINT{star->x, star->y});
  }
  StartMotion();
}

void StarField::DestroyStar(Star* star) {
  if (star == nullptr) return;
  if (star->window != nullptr) star->window->Hide();
  if (star == lastGeneratedStar) lastGeneratedStar = nullptr;
  UnlinkStar(star);
  ReleaseStarWindow(star);
  delete star;
}

int StarField::EnsureManyStars() const {
  if (starListHead == nullptr) return 0;
  int grabbedStars = 0;
  for (Star* s = starListHead->next; s != starListTail; s = s->next) {
    if (s->window != nullptr && s->window->IsGrabbed() && ++grabbedStars > 1) return 1;
  }
  return 0;
}

// The flying star of that image nearest the head (the oldest flight): what an
// event reuses once the field holds as many windows as it may.
Star* StarField::FlyingStarOf(int32_t imageIndex) const {
  for (Star* s = starListHead->next; s != starListTail; s = s->next) {
    if (s->inUse == 0 || s->imageIndex != imageIndex || s->bombing) continue;
    if (s->window == nullptr || s->window->IsGrabbed() || s->window->OwnsPicture()) continue;
    return s;
  }
  return nullptr;
}

void StarField::GenerateStars(uint32_t kind, int32_t x, int32_t y) {
  if (starListHead == nullptr) return;
  int32_t passes = StarsForEvent(kind, host.settings->quantity);
  for (int32_t pass = 0; pass < passes; ++pass) {
    int32_t imageIndex = GetRandomImageIndex();
    if (imageIndex < 0) return;  // no picture to show
    Star* star = GetFreeStar(imageIndex);
    if (star == nullptr && StarCount() >= maxStarWindows) star = FlyingStarOf(imageIndex);
    if (star != nullptr) {
      RecycleStar(star, x, y);
    } else if (StarCount() < maxStarWindows) {
      star = CreateNewStar(x, y, imageIndex);
    }
    lastGeneratedStar = kind == PWM_HOOK_KEY ? nullptr : star;
  }
}

void StarField::FreeStarList() {
  if (starListHead == nullptr) return;
  Star* s = starListHead->next;
  while (s != starListTail) {
    Star* next = s->next;
    ReleaseStarWindow(s);
    delete s;
    s = next;
  }
  DropSentinels();
}
