// The star record and the star list. A star that comes to rest stays in the
// list, hidden, as a free star; the next event that picks its image reuses
// it together with its window, which is far cheaper than a new window.
#pragma once
#include <cstdint>

#include "stars/star_surface.h"

struct Star {
  SurfaceOwner window;     // the star's window, closed with the record; null for the two sentinels
  uint32_t inUse;          // 1 = moving, grabbed or bombing; 0 = free, hidden
  int32_t count;           // how many stars this one stands for
  int32_t x, y;            // window corner as the motion computes it
  int32_t vx, vy;          // pixels per tick
  int32_t delay;           // ticks to skip before the next motion step
  uint32_t chained;        // marked by the chase game
  int32_t bombCountdown;   // ticks left in the bomb sequence
  uint32_t bombing;        // the bomb sequence runs
  int32_t imageIndex;      // index in StarImageList, fixed for the star's life
  Star* next;
  Star* prev;
};

// The doubly linked star list with its two sentinels: the head's prev and the
// tail's next point to themselves. Both are null while the star field is
// stopped, and every operation then does nothing. The list owns the records,
// and each record its window.
class StarList {
 public:
  StarList() = default;
  // Frees the records and sentinels still listed, and so their windows.
  ~StarList();
  StarList(const StarList&) = delete;
  StarList& operator=(const StarList&) = delete;

  // Creates the two sentinels of an empty list; 1 on success (also when the
  // list already exists), 0 when no memory was left.
  int CreateStarList();
  // Links a star just before the tail sentinel.
  void LinkStarBeforeTail(Star* star);
  // Takes a star out of the list; its own links are left pointing nowhere.
  void UnlinkStar(Star* star);
  // Frees every star and its window and removes the sentinels. The windows
  // are not hidden first: each goes when its close is handled.
  void FreeStarList();
  // The free star of that image nearest the head, or null.
  Star* GetFreeStar(int32_t imageIndex) const;
  // How many stars are listed, free ones included.
  int32_t StarCount() const { return starCount; }

  Star* starListHead = nullptr;
  Star* starListTail = nullptr;
  Star* lastGeneratedStar = nullptr;  // last star of a click or move event; null after a key

 protected:
  // Deletes the sentinels; the records must be gone already.
  void DropSentinels();

 private:
  int32_t starCount = 0;
};

// n limited to 999, the largest number a star can show.
int32_t CheckMaxNumber(int32_t n);
