// The seam between the star field's rules and the program that holds them:
// the host hands the field its input events (by calling the field), and the
// field asks the host for the time, the motion ticks, the monitors, the
// pictures' sizes and a surface per star, and tells it when a picture folder
// has loaded. The Win32 host lives in stars/win32/; every front end gives its
// own.
#pragma once
#include <cstdint>

#include "stars/star_surface.h"

// The monitor a point lies on: its rectangle in screen pixels and its dots
// per inch (96 is the unscaled size every distance of the field is made for).
struct MonitorMetrics {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
  int32_t dpi;
};

// The frame size of one of the pictures stars show.
struct FrameShape {
  int32_t width;
  int32_t height;
};

class FieldHost {
 public:
  virtual ~FieldHost() = default;

  // Milliseconds of a clock that wraps, as the ticks are timed.
  virtual uint32_t Now() const = 0;
  // The motion ticks, every STAR_TIMER_INTERVAL milliseconds; false when
  // they cannot be started.
  virtual bool StartTicks() = 0;
  virtual void StopTicks() = 0;

  virtual MonitorMetrics MonitorAt(PixelPoint point) const = 0;
  // The DPI the field draws at: speeds made for 96 are multiplied out to it,
  // as the pictures' sizes are.
  virtual int32_t Dpi() const = 0;

  // How many pictures there are, and the frame size of one; false for an
  // index that names none.
  virtual int32_t PictureCount() const = 0;
  virtual bool PictureFrame(int32_t imageIndex, FrameShape* shape) const = 0;

  // A hidden surface showing the picture (when the index names one); null
  // when not even the record could be made. A surface whose window failed
  // has Handle() 0 and still flies.
  virtual SurfaceOwner MakeSurface(int32_t imageIndex) = 0;

  // Whether PicturesLoaded reaches the field's thread: only then does a
  // picture folder load on a worker (otherwise it loads within the start).
  virtual bool HearsLoads() const { return false; }
  // Called on the folder load's worker thread when the load named `serial`
  // has ended: the host has the field's thread call
  // StarField::TakeLoadedPictures(serial) (Win32 posts a message to its
  // window). Never called for a load that a stop or restart ended.
  virtual void PicturesLoaded(uintptr_t serial) { (void)serial; }
  // The folder load's worker thread, as its first act: a toy's pictures
  // yield to the user's own work (Win32 lowers the thread's priority).
  virtual void LoaderStarts() {}
  // The field has stopped and let its pictures go: a good moment to give
  // unused memory back to the system.
  virtual void TrimMemory() {}
};
