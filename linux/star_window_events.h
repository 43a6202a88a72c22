// What the user does to a star window, as its owner hears of it. The window
// names itself by its handle: a handler may free the window it is told of.
#pragma once
#include <cstdint>

enum class StarMenuChoice { kErase, kEraseAll, kTidy };

class StarWindowEvents {
 public:
  // The first press on the window: it is grabbed for good.
  virtual void OnStarGrabbed(uintptr_t handle) = 0;
  // The left button let go over a grabbed window (a drop).
  virtual void OnStarDropped(uintptr_t handle) = 0;
  // Whether at least two stars are grabbed (the menu then offers all three).
  virtual bool ManyStarsGrabbed() const = 0;
  virtual void OnStarMenu(uintptr_t handle, StarMenuChoice choice) = 0;

 protected:
  ~StarWindowEvents() = default;
};
