#include "stars/motion_rules.h"
#include "stars/pupil_window.h"
#include "stars/star_field.h"

void StarField::SetInitialPosition(Star* star) {
  ImageSet* image = StarImageList.Get(star->imageIndex);
  if (image == nullptr) {
    ::SetInitialPosition(star, 0, 0);
    return;
  }
  ::SetInitialPosition(star, image->frameWidth, image->frameHeight);
}

void StarField::StartMotion() {
  if (timerRunning || host.owner == nullptr) return;
  // A timer that starts afresh is not due at once: the first tick comes a
  // period after the star was shown.
  lastTick = GetTickCount();
  timerRunning = SetTimer(host.owner, STAR_TIMER_ID, STAR_TIMER_INTERVAL, nullptr) != 0;
}

void StarField::StopMotion() {
  if (!timerRunning) return;
  KillTimer(host.owner, STAR_TIMER_ID);
  timerRunning = false;
}

// The motion step of one moving star that is not grabbed; false when it
// destroyed the star.
bool StarField::StepStar(Star* star) {
  PupilWindow* window = star->window;
  FlightStep step = StepFlight(star);
  if (step == FLIGHT_WAITED) return true;
  if (window != nullptr) {
    window->MoveTo(POINT{star->x, star->y});
    window->AdvanceFrame();
  }
  if (step != FLIGHT_RESTED) return true;
  // A chained star that gets away ends the chase.
  if (star->chained) chainValue = 1;
  // A numbered star never returns to the pool, nor one showing a picture no
  // new star is drawn from (the built-in star that stood in for the folder).
  if ((window != nullptr && window->OwnsPicture()) || star->imageIndex < firstDrawnImage) {
    DestroyStar(star);
    return false;
  }
  star->inUse = 0;
  if (window != nullptr) window->Hide();
  return true;
}

void StarField::MoveStar() {
  if (starListHead == nullptr) return;
  lastTick = GetTickCount();
  bool active = false;  // something still moves or bombs after this tick
  Star* star = starListHead->next;
  while (star != starListTail) {
    Star* next = star->next;  // the step may destroy this star
    bool exists = true;
    if (star->inUse && (star->window == nullptr || !star->window->IsGrabbed())) exists = StepStar(star);
    if (exists && star->inUse && star->bombing) StepBomb(star);
    // StepBomb may have destroyed the star: its successor is still `next`.
    if (next->prev != star) {
      star = next;
      continue;
    }
    if (star->inUse && (star->bombing || star->window == nullptr || !star->window->IsGrabbed())) {
      active = true;
    }
    star = next;
  }
  if (!active) StopMotion();
}

void StarField::RunDueTick(DWORD now) {
  if (!timerRunning) return;
  if (now - lastTick >= STAR_TIMER_INTERVAL) MoveStar();
}
