// The Linux host of the star field: a monotonic clock, the motion ticks on a
// Qt timer (running only while the field asks), the screens Qt knows with
// their scale, the pictures in use and an XStarSurface per star.
#pragma once
#include <functional>
#include <memory>
#include <vector>

#include <QTimer>

#include "linux/star_window_events.h"
#include "linux/x_artwork.h"
#include "linux/x_display.h"
#include "linux/x_picture.h"
#include "stars/field_host.h"

using XPictureList = std::vector<std::unique_ptr<XPicture>>;

class LinuxFieldHost final : public FieldHost {
 public:
  // Everything given outlives the host; onTick runs each motion tick.
  LinuxFieldHost(XDisplay& display, const XPictureList* pictures, const XArtwork* artwork,
                 StarWindowEvents* events, std::function<void()> onTick);

  uint32_t Now() const override;
  bool StartTicks() override;
  void StopTicks() override;
  MonitorMetrics MonitorAt(PixelPoint point) const override;
  int32_t Dpi() const override { return display_.Dpi(); }
  int32_t PictureCount() const override { return static_cast<int32_t>(pictures_->size()); }
  bool PictureFrame(int32_t imageIndex, FrameShape* shape) const override;
  SurfaceOwner MakeSurface(int32_t imageIndex) override;

 private:
  XDisplay& display_;
  const XPictureList* pictures_;
  const XArtwork* artwork_;
  StarWindowEvents* events_;
  QTimer ticks_;
};
