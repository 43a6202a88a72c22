// Bombs: an armed star counts down one tick at a time, shows the poof frames
// of its countdown and is destroyed at its end.
#pragma once
#include "stars/star_pool.h"
#include "stars/star_ticker.h"

class StarBombs {
 public:
  StarBombs(StarPool& pool, StarTicker& ticker) : pool_(pool), ticker_(ticker) {}

  // Arms one star (the erase item of its menu): its poof starts at the next
  // tick. A null star, or a free one waiting in the pool, is left alone.
  void BombStar(Star* star);
  // Arms every grabbed star so that they go off one per tick, the last one in
  // list order first.
  void BeginBomb();
  // One tick of an armed star, after its motion step: counts down, shows the
  // poof frame of the countdown, and destroys the star at its end. The star
  // may be gone afterwards.
  void StepBomb(Star* star);

 private:
  StarPool& pool_;
  StarTicker& ticker_;
};
