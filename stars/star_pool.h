// The star list as a pool: stars are made, reused and destroyed here, each
// with its surface. A star that comes to rest stays listed, hidden, and the
// next event that picks its picture reuses it with its window, which is far
// cheaper than a new window. Every operation does nothing (or returns null /
// 0) while the list does not exist.
#pragma once
#include <cstdint>

#include "base/settings.h"
#include "stars/field_host.h"
#include "stars/motion_rules.h"
#include "stars/star.h"
#include "stars/star_ticker.h"

class StarPool : public StarList {
 public:
  // settings: quantity and moveRange, read when used.
  StarPool(FieldHost& host, StarTicker& ticker, const SettingsRecord* settings)
      : host_(host), ticker_(ticker), settings_(settings) {}

  // Caught by the user and still in use: what tidying, erasing all and
  // joining act on.
  static bool IsGrabbed(const Star* star) {
    return star->inUse && star->window != nullptr && star->window->IsGrabbed();
  }

  // A random picture index from firstDrawnImage on; -1 when there is no
  // picture to draw.
  int32_t GetRandomImageIndex();
  // The star whose window has that handle, in use or free; null for none
  // (and for 0, which a star without a window must not match).
  Star* GetStarByHandle(uintptr_t handle) const;
  // A new live star of that image, started beside the event point and shown.
  Star* CreateNewStar(int32_t x, int32_t y, int32_t imageIndex);
  // Brings a free (or, at the window bound, a flying) star back to life
  // beside the event point.
  void RecycleStar(Star* star, int32_t x, int32_t y);
  // Removes a star for good: hides its window, frees record and window.
  void DestroyStar(Star* star);
  // 1 if at least two stars are grabbed, else 0.
  int EnsureManyStars() const;
  int32_t GrabbedCount() const;
  // The stars of one input event of that kind at a screen point: at most kMaxStarsPerEvent, and never more than the
  // bound on windows.
  void GenerateStars(InputKind kind, int32_t x, int32_t y);
  // Shows (raised) or hides the window of every grabbed star.
  void ShowGrabbedStars(bool show);
  // Whether a star that comes to rest waits in the pool: not one showing a
  // number, nor one showing a picture new stars are no longer drawn from.
  bool KeepsAtRest(const Star* star) const;
  // Destroys every resting star; true when a star in use remains.
  bool DropRestingStars();
  // Moves x, y of the star from the event point to its start corner, by the
  // frame size of its picture.
  void SetInitialPosition(Star* star) const;

  // Lowers the bound on star windows (kMaxStarWindows), so that reaching it
  // can be tried with a few windows.
  void LimitStarWindows(int32_t bound) { maxStarWindows_ = bound; }

  // New stars draw their picture from this index on: the folder's pictures
  // follow the built-in star that stood in while they loaded, and which the
  // stars made meanwhile keep showing.
  int32_t firstDrawnImage = 0;

 private:
  Star* FlyingStarOf(int32_t imageIndex) const;

  FieldHost& host_;
  StarTicker& ticker_;
  const SettingsRecord* settings_;
  int32_t maxStarWindows_ = kMaxStarWindows;
};
