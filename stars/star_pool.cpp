#include "stars/star_pool.h"

#include <new>

#include "stars/random_source.h"

int32_t StarPool::GetRandomImageIndex() {
  int32_t index = DrawImageIndex(host_.PictureCount() - firstDrawnImage);
  return index < 0 ? -1 : firstDrawnImage + index;
}

Star* StarPool::GetStarByHandle(uintptr_t handle) const {
  if (starListHead == nullptr || handle == 0) return nullptr;
  for (Star* s = starListHead->next; s != starListTail; s = s->next) {
    if (s->window != nullptr && s->window->Handle() == handle) return s;
  }
  return nullptr;
}

void StarPool::SetInitialPosition(Star* star) const {
  FrameShape frame{0, 0};
  host_.PictureFrame(star->imageIndex, &frame);
  ::SetInitialPosition(star, frame.width, frame.height);
}

Star* StarPool::CreateNewStar(int32_t x, int32_t y, int32_t imageIndex) {
  if (starListHead == nullptr) return nullptr;
  Star* star = new (std::nothrow) Star{};
  if (star == nullptr) return nullptr;
  star->inUse = 1;
  star->count = 1;
  star->imageIndex = imageIndex;
  star->x = x;
  star->y = y;
  SetInitialSpeed(star, settings_->moveRange, host_.Dpi());
  star->window = host_.MakeSurface(imageIndex);
  SetInitialPosition(star);
  if (star->window != nullptr) star->window->ShowTopmostAt(PixelPoint{star->x, star->y});
  LinkStarBeforeTail(star);
  ticker_.Start();
  return star;
}

void StarPool::RecycleStar(Star* star, int32_t x, int32_t y) {
  if (starListHead == nullptr || star == nullptr) return;
  star->x = x;
  star->y = y;
  SetInitialSpeed(star, settings_->moveRange, host_.Dpi());
  SetInitialPosition(star);
  star->inUse = 1;
  star->chained = 0;
  star->delay = 0;
  star->bombCountdown = 0;
  star->count = 1;
  if (star->window != nullptr) {
    star->window->RewindAnimation();
    star->window->ShowTopmostAt(PixelPoint{star->x, star->y});
  }
  ticker_.Start();
}

void StarPool::DestroyStar(Star* star) {
  if (star == nullptr) return;
  if (star->window != nullptr) star->window->Hide();
  if (star == lastGeneratedStar) lastGeneratedStar = nullptr;
  UnlinkStar(star);
  delete star;
}

int StarPool::EnsureManyStars() const {
  if (starListHead == nullptr) return 0;
  int grabbedStars = 0;
  for (Star* s = starListHead->next; s != starListTail; s = s->next) {
    if (s->window != nullptr && s->window->IsGrabbed() && ++grabbedStars > 1) return 1;
  }
  return 0;
}

int32_t StarPool::GrabbedCount() const {
  if (starListHead == nullptr) return 0;
  int32_t grabbedStars = 0;
  for (Star* s = starListHead->next; s != starListTail; s = s->next) {
    if (IsGrabbed(s)) ++grabbedStars;
  }
  return grabbedStars;
}

// The flying star of that image nearest the head (the oldest flight): what an
// event reuses once the field holds as many windows as it may.
Star* StarPool::FlyingStarOf(int32_t imageIndex) const {
  for (Star* s = starListHead->next; s != starListTail; s = s->next) {
    if (s->inUse == 0 || s->imageIndex != imageIndex || s->bombing) continue;
    if (s->window == nullptr || s->window->IsGrabbed() || s->window->ShowsNumber()) continue;
    return s;
  }
  return nullptr;
}

void StarPool::GenerateStars(InputKind kind, int32_t x, int32_t y) {
  if (starListHead == nullptr) return;
  int32_t passes = StarsForEvent(kind, settings_->quantity);
  for (int32_t pass = 0; pass < passes; ++pass) {
    int32_t imageIndex = GetRandomImageIndex();
    if (imageIndex < 0) return;  // no picture to show
    Star* star = GetFreeStar(imageIndex);
    if (star == nullptr && StarCount() >= maxStarWindows_) star = FlyingStarOf(imageIndex);
    if (star != nullptr) {
      RecycleStar(star, x, y);
    } else if (StarCount() < maxStarWindows_) {
      star = CreateNewStar(x, y, imageIndex);
    }
    lastGeneratedStar = kind == InputKind::kKey ? nullptr : star;
  }
}

void StarPool::ShowGrabbedStars(bool show) {
  if (starListHead == nullptr) return;
  for (Star* star = starListHead->next; star != starListTail; star = star->next) {
    StarSurface* window = star->window.get();
    if (window == nullptr || !window->IsGrabbed()) continue;
    if (show) {
      window->ShowTopmost();
    } else {
      window->Hide();
    }
  }
}

bool StarPool::KeepsAtRest(const Star* star) const {
  if (star->window != nullptr && star->window->ShowsNumber()) return false;
  return star->imageIndex >= firstDrawnImage;
}

bool StarPool::DropRestingStars() {
  bool kept = false;
  Star* star = starListHead != nullptr ? starListHead->next : nullptr;
  while (star != nullptr && star != starListTail) {
    Star* next = star->next;
    if (star->inUse) {
      kept = true;
    } else {
      DestroyStar(star);
    }
    star = next;
  }
  return kept;
}
