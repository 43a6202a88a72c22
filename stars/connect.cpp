#include "stars/group_rules.h"
#include "stars/pupil_window.h"
#include "stars/star_field.h"

namespace {

bool IsGrabbed(const Star* star) {
  return star->inUse && star->window != nullptr && star->window->IsGrabbed();
}

POINT CentreOf(const Star* star, const ImageSet* image) {
  POINT corner = star->window != nullptr ? star->window->GetPosition() : POINT{0, 0};
  return POINT{corner.x + image->frameWidth / 2, corner.y + image->frameHeight / 2};
}

}  // namespace

// The first grabbed star of the dropped star's image, in list order, whose
// centre lies close enough; null if none does.
Star* StarField::FindPartner(const Star* dropped) const {
  const ImageSet* image = StarImageList.Get(dropped->imageIndex);
  if (image == nullptr) return nullptr;
  POINT centre = CentreOf(dropped, image);
  for (Star* t = starListHead->next; t != starListTail; t = t->next) {
    if (t == dropped || !IsGrabbed(t) || t->imageIndex != dropped->imageIndex) continue;
    POINT other = CentreOf(t, image);
    if (CentresJoin(static_cast<int64_t>(centre.x) - other.x,
                    static_cast<int64_t>(centre.y) - other.y, image->frameWidth,
                    image->frameHeight)) {
      return t;
    }
  }
  return nullptr;
}

Star* StarField::ConnectStar(HWND window) {
  Star* dropped = GetStarByHWND(window);
  if (dropped == nullptr) return nullptr;
  // A drop may set things going (a group past 999 goes off); the timer stops
  // again at the next tick when nothing moves.
  StartMotion();
  Star* group = FindPartner(dropped);
  if (group == nullptr) return dropped;
  group->count += dropped->count;
  SetStarNumber(group, CheckMaxNumber(group->count));
  DestroyStar(dropped);
  if (group->count > 999) BeginBomb();
  return group;
}

void StarField::AllTogetherStar(HWND window) {
  if (starListHead == nullptr || GetStarByHWND(window) == nullptr) return;
  for (Star* a = starListHead->next; a != starListTail; a = a->next) {
    if (!IsGrabbed(a)) continue;
    Star* b = a->next;
    while (b != starListTail) {
      Star* next = b->next;  // b may be destroyed
      if (IsGrabbed(b) && b->imageIndex == a->imageIndex) {
        a->count += b->count;
        SetStarNumber(a, CheckMaxNumber(a->count));
        DestroyStar(b);
      }
      b = next;
    }
  }
}

void StarField::GrabStar(HWND window) {
  Star* grabbed = GetStarByHWND(window);
  if (lastGeneratedStar != nullptr && lastGeneratedStar->inUse) {
    lastGeneratedStar->delay = 3;  // hovers for three ticks: the chase target
    lastGeneratedStar->chained = 1;
  }
  if (grabbed == nullptr) return;
  if (grabbed->chained) {
    grabbed->count = chainValue;
    SetStarNumber(grabbed, CheckMaxNumber(chainValue));
  }
  ChainStep step = NextChainValue(chainValue);
  chainValue = step.value;
  if (step.setsOff) BeginBomb();
}
