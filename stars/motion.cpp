#include "images/image_set.h"
#include "stars/motion_rules.h"
#include "stars/pupil_window.h"
#include "stars/star_field.h"
#include "stars/star_groups.h"

void SetInitialPosition(Star* star) {
  ImageSet* image = StarImageList.Get(star->imageIndex);
  if (image == nullptr) {
    SetInitialPosition(star, 0, 0);
    return;
  }
  SetInitialPosition(star, image->frameWidth, image->frameHeight);
}

namespace {

// The motion step of one moving star that is not grabbed; false when it
// destroyed the star.
bool StepStar(Star* star) {
  PupilWindow* window = star->window;
  FlightStep step = StepFlight(star);
  if (step == FLIGHT_WAITED) return true;
  if (window != nullptr) {
    window->MoveTo(POINT{star->x, star->y});
    if (window->frameCount > 1) {
      window->frameIndex = NextFrameIndex(window->frameIndex, window->frameCount);
      RedrawWindow(window->hwnd, nullptr, nullptr, RDW_INVALIDATE);
    }
  }
  if (step != FLIGHT_RESTED) return true;
  // A chained star that gets away ends the chase.
  if (star->chained) chainValue = 1;
  if (window != nullptr && window->ownBitmapPrevious != nullptr) {
    DestroyStar(star);  // a numbered star never returns to the pool
    return false;
  }
  star->inUse = 0;
  if (window != nullptr) window->Hide();
  return true;
}

}  // namespace

void MoveStar() {
  if (starListHead == nullptr) return;
  Star* star = starListHead->next;
  while (star != starListTail) {
    Star* next = star->next;  // the step may destroy this star
    bool exists = true;
    if (star->inUse && (star->window == nullptr || !star->window->grabbed)) exists = StepStar(star);
    if (exists && star->inUse && star->bombing) StepBomb(star);
    star = next;
  }
}
