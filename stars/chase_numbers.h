// The chase game and the numbers stars show: catching the star a click made
// last, again and again, pays more each time; a star that stands for more
// than one shows its count.
#pragma once
#include <cstdint>

#include "stars/star_bombs.h"
#include "stars/star_pool.h"

class ChaseNumbers {
 public:
  ChaseNumbers(StarPool& pool, StarBombs& bombs) : pool_(pool), bombs_(bombs) {}

  // Draws n (more than 1) into the lower right corner of the star's current
  // frame, in a number picture of the window's own; the star stops animating.
  void SetStarNumber(Star* star, int32_t n);
  // The first press on a star (null for a window that is no star's): marks
  // the last generated star as the chase target and, if the grabbed star is
  // one, awards it the chain value.
  void GrabStar(Star* grabbed);
  // A chained star came to rest without being caught: the chase ends.
  void ChainedStarEscaped() { chainValue = 1; }

  int32_t chainValue = 1;  // the reward, 1, 2, 4 ... 1024; kept across restarts

 private:
  StarPool& pool_;
  StarBombs& bombs_;
};
