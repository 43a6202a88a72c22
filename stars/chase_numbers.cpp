#include "stars/chase_numbers.h"

#include "stars/group_rules.h"

void ChaseNumbers::SetStarNumber(Star* star, int32_t n) {
  if (star == nullptr || n <= 1 || star->window == nullptr) return;
  star->window->DrawNumber(n);
}

void ChaseNumbers::GrabStar(Star* grabbed) {
  Star* target = pool_.lastGeneratedStar;
  if (target != nullptr && target->inUse) {
    target->delay = 3;  // hovers for three ticks: the chase target
    target->chained = 1;
  }
  if (grabbed == nullptr) return;
  if (grabbed->chained) {
    grabbed->count = chainValue;
    SetStarNumber(grabbed, CheckMaxNumber(chainValue));
  }
  ChainStep step = NextChainValue(chainValue);
  chainValue = step.value;
  if (step.setsOff) bombs_.BeginBomb();
}
