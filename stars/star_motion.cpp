#include "stars/star_motion.h"

namespace {

bool Moves(const Star* star) { return star->window == nullptr || !star->window->IsGrabbed(); }

}  // namespace

// The motion step of one moving star that is not grabbed; false when it
// destroyed the star.
bool StarMotion::StepStar(Star* star) {
  StarSurface* window = star->window.get();
  FlightStep step = StepFlight(star);
  if (step == FLIGHT_WAITED) return true;
  if (window != nullptr) {
    window->MoveTo(PixelPoint{star->x, star->y});
    window->AdvanceFrame();
  }
  if (step != FLIGHT_RESTED) return true;
  if (star->chained) chase_.ChainedStarEscaped();
  if (!pool_.KeepsAtRest(star)) {
    pool_.DestroyStar(star);
    return false;
  }
  star->inUse = 0;
  if (window != nullptr) window->Hide();
  return true;
}

void StarMotion::MoveStar() {
  if (pool_.starListHead == nullptr) return;
  ticker_.Ticked();
  bool active = false;  // something still moves or bombs after this tick
  Star* star = pool_.starListHead->next;
  while (star != pool_.starListTail) {
    Star* next = star->next;  // the step may destroy this star
    bool exists = true;
    if (star->inUse && Moves(star)) exists = StepStar(star);
    if (exists && star->inUse && star->bombing) bombs_.StepBomb(star);
    // StepBomb may have destroyed the star: its successor is still `next`.
    if (next->prev != star) {
      star = next;
      continue;
    }
    if (star->inUse && (star->bombing || Moves(star))) active = true;
    star = next;
  }
  if (!active) ticker_.Stop();
}
