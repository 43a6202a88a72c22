// One motion tick over every star: flying stars step and slow, resting ones
// go back to the pool (or go for good), armed ones count down. The ticks stop
// after the one in which nothing is left moving or bombing.
#pragma once
#include <cstdint>

#include "stars/chase_numbers.h"
#include "stars/star_bombs.h"
#include "stars/star_pool.h"
#include "stars/star_ticker.h"

class StarMotion {
 public:
  StarMotion(StarPool& pool, StarTicker& ticker, StarBombs& bombs, ChaseNumbers& chase)
      : pool_(pool), ticker_(ticker), bombs_(bombs), chase_(chase) {}

  // One tick for every star.
  void MoveStar();
  // Runs the tick now when one is due at `now` (a time of the host's clock):
  // called from the input path, so that a flood of input cannot starve the
  // motion.
  void RunDueTick(uint32_t now) {
    if (ticker_.Due(now)) MoveStar();
  }

 private:
  bool StepStar(Star* star);

  StarPool& pool_;
  StarTicker& ticker_;
  StarBombs& bombs_;
  ChaseNumbers& chase_;
};
