// The Win32 surface of a star: a PupilWindow showing one of the field's
// pictures, which draws the star's number and its poof from the field's
// artwork.
#pragma once
#include <windows.h>

#include "images/win32/artwork.h"
#include "images/win32/image_set.h"
#include "stars/win32/pupil_window.h"
#include "stars/star_surface.h"

class PupilSurface final : public StarSurface {
 public:
  // image may be null (no such picture): the window then shows nothing until
  // a poof. The artwork outlives every surface.
  PupilSurface(const ImageSet* image, const StarArtwork* artwork) : image_(image), artwork_(artwork) {}

  // Creates the hidden window with its menu texts and gives it the picture.
  void Create(HWND owner, HCURSOR cursor, UiTextBlock* texts);

  PupilWindow& Window() { return window_; }
  const PupilWindow& Window() const { return window_; }

  uintptr_t Handle() const override { return reinterpret_cast<uintptr_t>(window_.Handle()); }
  void ShowTopmostAt(PixelPoint corner) override { window_.ShowTopmostAt(POINT{corner.x, corner.y}); }
  void ShowTopmost() override { window_.ShowTopmost(); }
  void MoveTo(PixelPoint corner) override { window_.MoveTo(POINT{corner.x, corner.y}); }
  void Hide() override { window_.Hide(); }
  PixelPoint Position() const override {
    POINT at = window_.GetPosition();
    return PixelPoint{at.x, at.y};
  }
  void AdvanceFrame() override { window_.AdvanceFrame(); }
  void RewindAnimation() override { window_.RewindAnimation(); }
  bool IsGrabbed() const override { return window_.IsGrabbed(); }
  bool ShowsNumber() const override { return window_.OwnsPicture(); }
  void DrawNumber(int32_t n) override;
  void ShowPoofFrame(int32_t frame, bool centre) override;

 private:
  PupilWindow window_;
  const ImageSet* image_;
  const StarArtwork* artwork_;
};
