// The seam between the star field's rules and the screen: what the field asks
// of the window that shows one star. The Win32 side (PupilSurface) puts a
// layered window behind it; the rules never see a platform handle, only the
// number that names the window to its platform.
#pragma once
#include <cstdint>
#include <memory>

#include "stars/pixel_point.h"

class StarSurface {
 public:
  // Closing the window is the surface's last act: whoever drops the owner
  // drops the window with it.
  virtual ~StarSurface() = default;

  // The platform's name of the window (a window handle as a number); 0 when
  // the window could not be made.
  virtual uintptr_t Handle() const = 0;
  // Shown above every other window; with a corner, moved there first (a launch).
  virtual void ShowTopmostAt(PixelPoint corner) = 0;
  virtual void ShowTopmost() = 0;
  // Moved without changing its place among the windows: a tick never restacks.
  virtual void MoveTo(PixelPoint corner) = 0;
  virtual void Hide() = 0;
  virtual PixelPoint Position() const = 0;

  // The next frame of an animated picture; a still one stays.
  virtual void AdvanceFrame() = 0;
  virtual void RewindAnimation() = 0;

  // Caught by the user: pressed once, for good.
  virtual bool IsGrabbed() const = 0;
  // Shows a number picture of its own rather than its star's picture.
  virtual bool ShowsNumber() const = 0;
  // Draws n into the lower right corner of the current frame; the star stops
  // animating. Nothing changes when the picture cannot be made.
  virtual void DrawNumber(int32_t n) = 0;
  // Shows poof frame `frame` in place of the picture; `centre` at the first
  // frame, which moves the poof over the star's middle.
  virtual void ShowPoofFrame(int32_t frame, bool centre) = 0;
};

using SurfaceOwner = std::unique_ptr<StarSurface>;
