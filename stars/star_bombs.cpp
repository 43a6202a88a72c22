#include "stars/star_bombs.h"

#include "stars/bomb_rules.h"

void StarBombs::BombStar(Star* star) {
  if (star == nullptr || !star->inUse) return;
  star->bombing = 1;
  star->bombCountdown = kPoofTicks;
  ticker_.Start();
}

void StarBombs::BeginBomb() {
  if (pool_.starListHead == nullptr) return;
  int32_t grabbedStars = pool_.GrabbedCount();
  int32_t countdown = grabbedStars + kPoofTicks;
  for (Star* s = pool_.starListHead->next; s != pool_.starListTail; s = s->next) {
    if (!StarPool::IsGrabbed(s)) continue;
    s->bombCountdown = countdown--;
    s->bombing = 1;
  }
  if (grabbedStars > 0) ticker_.Start();
}

void StarBombs::StepBomb(Star* star) {
  if (star == nullptr || !star->bombing) return;
  if (star->bombCountdown <= 0) {
    pool_.DestroyStar(star);
    return;
  }
  int32_t frame = PoofFrameAt(star->bombCountdown);
  // Without poof artwork the star keeps its own picture, number included,
  // until its countdown ends.
  if (frame >= 0 && star->window != nullptr) {
    star->window->ShowPoofFrame(frame, star->bombCountdown == kPoofTicks);
  }
  --star->bombCountdown;
}
