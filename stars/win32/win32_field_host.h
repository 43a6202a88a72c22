// The Win32 host of the star field: the motion timer on the owner window,
// GetTickCount's clock, the monitors, the shelf's pictures, a PupilSurface
// per star, and the end of a folder load posted to the owner.
#pragma once
#include <windows.h>

#include "base/dpi_scale.h"
#include "base/settings.h"
#include "base/ui_texts.h"
#include "stars/field_host.h"
#include "stars/win32/win32_picture_shelf.h"

// The motion timer's id on the owner window.
constexpr UINT_PTR STAR_TIMER_ID = 1;

// What the star field needs from the program that holds it.
struct StarFieldHost {
  HWND owner;                      // owns the star windows, hears from them, carries the motion timer
  HCURSOR cursor;                  // the star windows' cursor
  UiTextBlock* texts;              // the star menus' texts
  const SettingsRecord* settings;  // quantity, moveRange and the picture folder, read when used
};

class Win32FieldHost final : public FieldHost {
 public:
  Win32FieldHost(const StarFieldHost& host, Win32PictureShelf* shelf) : host_(host), shelf_(shelf) {}

  const StarFieldHost& Host() const { return host_; }

  uint32_t Now() const override { return GetTickCount(); }
  bool StartTicks() override;
  void StopTicks() override;
  MonitorMetrics MonitorAt(PixelPoint point) const override;
  int32_t Dpi() const override { return ProcessDpi(); }
  int32_t PictureCount() const override { return shelf_->Count(); }
  bool PictureFrame(int32_t imageIndex, FrameShape* shape) const override;
  SurfaceOwner MakeSurface(int32_t imageIndex) override;
  // A folder load ends with PWM_PICTURES_LOADED (wParam: its serial) posted
  // to the owner; without an owner the folder loads within the start.
  bool HearsLoads() const override { return host_.owner != nullptr; }
  void PicturesLoaded(uintptr_t serial) override;
  void LoaderStarts() override;
  void TrimMemory() override;

 private:
  StarFieldHost host_;
  Win32PictureShelf* shelf_;
};
