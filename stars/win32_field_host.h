// The Win32 host of the star field: the motion timer on the owner window,
// GetTickCount's clock, the monitors, the field's pictures, and a PupilSurface
// per star.
#pragma once
#include <windows.h>

#include "base/dpi_scale.h"
#include "base/settings.h"
#include "base/ui_texts.h"
#include "images/artwork.h"
#include "images/image_set.h"
#include "stars/field_host.h"

// What the star field needs from the program that holds it.
struct StarFieldHost {
  HWND owner;                      // owns the star windows, hears from them, carries the motion timer
  HCURSOR cursor;                  // the star windows' cursor
  UiTextBlock* texts;              // the star menus' texts
  const SettingsRecord* settings;  // quantity, moveRange and the picture folder, read when used
};

class Win32FieldHost final : public FieldHost {
 public:
  Win32FieldHost(const StarFieldHost& host, const ImageList<ImageSet>* pictures, const StarArtwork* artwork)
      : host_(host), pictures_(pictures), artwork_(artwork) {}

  const StarFieldHost& Host() const { return host_; }

  uint32_t Now() const override { return GetTickCount(); }
  bool StartTicks() override;
  void StopTicks() override;
  MonitorMetrics MonitorAt(PixelPoint point) const override;
  int32_t Dpi() const override { return ProcessDpi(); }
  int32_t PictureCount() const override { return pictures_->Count(); }
  bool PictureFrame(int32_t imageIndex, FrameShape* shape) const override;
  SurfaceOwner MakeSurface(int32_t imageIndex) override;

 private:
  StarFieldHost host_;
  const ImageList<ImageSet>* pictures_;
  const StarArtwork* artwork_;
};
