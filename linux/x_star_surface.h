// A star window on X11: a bare 32-bit ARGB override-redirect window (its own
// colormap, border pixel 0) that never takes the focus and shows a frame by
// taking it as its background pixmap, so a tick is moves only. Without a
// compositing manager its bounding shape follows the frame's alpha: hard
// edges, never a black square. Its input shape always does, so a click on a
// transparent corner goes to the window below, as it would on Windows.
#pragma once
#include <xcb/xcb.h>

#include "linux/star_window_events.h"
#include "linux/x_artwork.h"
#include "linux/x_display.h"
#include "linux/x_picture.h"
#include "stars/star_surface.h"

class XStarSurface final : public StarSurface, private XWindowListener {
 public:
  // picture may be null (no such picture): the window then shows nothing
  // until a poof. Display, picture, artwork and events outlive the surface.
  XStarSurface(XDisplay& display, const XPicture* picture, const XArtwork* artwork, StarWindowEvents* events);
  ~XStarSurface() override;
  XStarSurface(const XStarSurface&) = delete;
  XStarSurface& operator=(const XStarSurface&) = delete;

  // Makes the hidden window (the requests go out with the next flush); false
  // when the connection has no window id left to give.
  bool Create();

  uintptr_t Handle() const override { return window_; }
  void ShowTopmostAt(PixelPoint corner) override;
  void ShowTopmost() override;
  void MoveTo(PixelPoint corner) override;
  void Hide() override;
  PixelPoint Position() const override { return position_; }
  void AdvanceFrame() override;
  void RewindAnimation() override;
  bool IsGrabbed() const override { return grabbed_; }
  bool ShowsNumber() const override { return ownPicture_ != 0; }
  void DrawNumber(int32_t n) override;
  void ShowPoofFrame(int32_t frame, bool centre) override;

  bool Shown() const { return shown_; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }

 private:
  void OnButtonPress(const xcb_button_press_event_t& event) override;
  void OnButtonRelease(const xcb_button_release_event_t& event) override;
  void OnMotion(const xcb_motion_notify_event_t& event) override;

  // Shows pixmap (w × h) with shape as the window's picture.
  void ShowPicture(xcb_pixmap_t pixmap, const FrameShapeRects& shape, int32_t w, int32_t h);
  void ShowFrame(int32_t k);
  void ReleaseOwnPicture();
  void Raise();
  void ShiftBy(int32_t dx, int32_t dy);
  void ShowMenu(PixelPoint at);

  XDisplay& display_;
  const XPicture* picture_;
  const XArtwork* artwork_;
  StarWindowEvents* events_;
  xcb_window_t window_ = 0;
  PixelPoint position_{0, 0};
  int32_t width_ = 1;
  int32_t height_ = 1;
  int32_t frameIndex_ = 0;
  bool animating_ = true;
  bool shown_ = false;
  bool grabbed_ = false;
  bool dragging_ = false;
  bool raisedInDrag_ = false;
  PixelPoint dragAnchor_{0, 0};
  xcb_pixmap_t ownPicture_ = 0;  // the frame with its number
  FrameShapeRects ownShape_;
};
