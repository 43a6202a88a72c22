// Joined stars: a caught star dropped onto another caught star of the same
// picture joins it, and tidying joins all caught stars of each picture. The
// group shows the sum of their counts.
#pragma once
#include "stars/chase_numbers.h"
#include "stars/field_host.h"
#include "stars/star_bombs.h"
#include "stars/star_pool.h"
#include "stars/star_ticker.h"

class StarGroups {
 public:
  StarGroups(FieldHost& host, StarPool& pool, StarTicker& ticker, StarBombs& bombs, ChaseNumbers& numbers)
      : host_(host), pool_(pool), ticker_(ticker), bombs_(bombs), numbers_(numbers) {}

  // A star released at the end of a drop joins the first grabbed star of the
  // same picture whose centre lies close enough. Returns that group, the
  // dropped star if it joined none, or null for no star.
  Star* ConnectStar(Star* dropped);
  // Joins the grabbed stars of each picture into the one nearest the head of
  // the list, which takes the sum of their counts; no window moves.
  void AllTogetherStar();

 private:
  Star* FindPartner(const Star* dropped) const;

  FieldHost& host_;
  StarPool& pool_;
  StarTicker& ticker_;
  StarBombs& bombs_;
  ChaseNumbers& numbers_;
};
