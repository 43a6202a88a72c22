#include "linux/x_star_surface.h"

#include <xcb/shape.h>

#include <QAction>
#include <QMenu>
#include <QPointer>

#include "linux/ui_text.h"
#include "stars/bomb_rules.h"

XStarSurface::XStarSurface(XDisplay& display, const XPicture* picture, const XArtwork* artwork,
                           StarWindowEvents* events)
    : display_(display), picture_(picture), artwork_(artwork), events_(events) {}

XStarSurface::~XStarSurface() {
  if (window_ != 0) {
    display_.Forget(window_);
    xcb_destroy_window(display_.Connection(), window_);
  }
  ReleaseOwnPicture();
}

bool XStarSurface::Create() {
  xcb_connection_t* c = display_.Connection();
  if (picture_ != nullptr) {
    width_ = picture_->FrameWidth();
    height_ = picture_->FrameHeight();
  }
  window_ = xcb_generate_id(c);
  if (window_ == static_cast<xcb_window_t>(-1)) {  // the connection is broken or out of ids
    window_ = 0;
    return false;
  }
  // In the order of their mask bits.
  uint32_t values[] = {
      XCB_BACK_PIXMAP_NONE,
      0,  // border pixel: an ARGB window with the parent's border would fail
      1,  // override-redirect: no window manager decorates, places or focuses it
      XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_BUTTON_MOTION,
      display_.ArgbColormap(),
  };
  // Unchecked, as every request here: an error would come as an event and
  // cost no round trip meanwhile.
  xcb_create_window(
      c, 32, window_, display_.Root(), 0, 0, static_cast<uint16_t>(width_), static_cast<uint16_t>(height_), 0,
      XCB_WINDOW_CLASS_INPUT_OUTPUT, display_.ArgbVisual(),
      XCB_CW_BACK_PIXMAP | XCB_CW_BORDER_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK | XCB_CW_COLORMAP,
      values);
  display_.Listen(window_, this);
  if (picture_ != nullptr) ShowFrame(0);
  return true;
}

void XStarSurface::ShowPicture(xcb_pixmap_t pixmap, const FrameShapeRects& shape, int32_t w, int32_t h) {
  if (window_ == 0) return;
  xcb_connection_t* c = display_.Connection();
  if (w != width_ || h != height_) {
    uint32_t size[] = {static_cast<uint32_t>(w), static_cast<uint32_t>(h)};
    xcb_configure_window(c, window_, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, size);
    width_ = w;
    height_ = h;
  }
  xcb_change_window_attributes(c, window_, XCB_CW_BACK_PIXMAP, &pixmap);
  xcb_clear_area(c, 0, window_, 0, 0, 0, 0);
  if (display_.HasShape()) {
    auto rects = static_cast<uint32_t>(shape.size());
    xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, XCB_CLIP_ORDERING_UNSORTED, window_, 0, 0, rects,
                         shape.data());
    if (!display_.Compositing()) {
      xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING, XCB_CLIP_ORDERING_UNSORTED, window_, 0, 0,
                           rects, shape.data());
    }
  }
}

void XStarSurface::ShowFrame(int32_t k) {
  frameIndex_ = k;
  ShowPicture(picture_->Frame(k), picture_->Shape(k), picture_->FrameWidth(), picture_->FrameHeight());
}

void XStarSurface::Raise() {
  if (window_ == 0) return;
  uint32_t above = XCB_STACK_MODE_ABOVE;
  xcb_configure_window(display_.Connection(), window_, XCB_CONFIG_WINDOW_STACK_MODE, &above);
}

void XStarSurface::ShowTopmostAt(PixelPoint corner) {
  position_ = corner;
  if (window_ == 0) return;
  uint32_t values[] = {static_cast<uint32_t>(corner.x), static_cast<uint32_t>(corner.y), XCB_STACK_MODE_ABOVE};
  xcb_configure_window(display_.Connection(), window_,
                       XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_STACK_MODE, values);
  xcb_map_window(display_.Connection(), window_);
  shown_ = true;
}

void XStarSurface::ShowTopmost() {
  if (window_ == 0) return;
  Raise();
  xcb_map_window(display_.Connection(), window_);
  shown_ = true;
}

void XStarSurface::MoveTo(PixelPoint corner) {
  position_ = corner;
  if (window_ == 0) return;  // a star without a window still flies
  uint32_t values[] = {static_cast<uint32_t>(corner.x), static_cast<uint32_t>(corner.y)};
  xcb_configure_window(display_.Connection(), window_, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, values);
}

void XStarSurface::Hide() {
  if (window_ == 0) return;
  xcb_unmap_window(display_.Connection(), window_);
  shown_ = false;
}

void XStarSurface::AdvanceFrame() {
  if (picture_ == nullptr || !animating_ || picture_->FrameCount() < 2) return;
  ShowFrame((frameIndex_ + 1) % picture_->FrameCount());
}

void XStarSurface::RewindAnimation() {
  animating_ = true;
  if (ownPicture_ != 0) ReleaseOwnPicture();
  if (picture_ != nullptr && (frameIndex_ != 0 || width_ != picture_->FrameWidth())) ShowFrame(0);
}

void XStarSurface::ReleaseOwnPicture() {
  if (ownPicture_ == 0) return;
  xcb_free_pixmap(display_.Connection(), ownPicture_);
  ownPicture_ = 0;
}

void XStarSurface::DrawNumber(int32_t n) {
  if (picture_ == nullptr || artwork_ == nullptr) return;
  const PicturePixels& source = picture_->Pixels();
  int32_t w = source.frameWidth;
  int32_t h = source.frameHeight;
  // The current frame, copied over any earlier number; the star stops animating.
  std::vector<uint32_t> own(static_cast<size_t>(w) * h);
  const uint32_t* frame = source.Frame(frameIndex_);
  for (int32_t y = 0; y < h; ++y) std::copy_n(frame + static_cast<size_t>(y) * source.width, w, &own[y * w]);

  DigitSize size = DigitSizeFor(h, display_.Dpi());
  const PicturePixels& colour = artwork_->digitStrips[2 * size];
  const PicturePixels& mask = artwork_->digitStrips[2 * size + 1];
  int32_t cellWidth = colour.width / 10;
  int32_t cellHeight = colour.height;
  if (cellWidth > 0 && mask.width == colour.width && mask.height == colour.height) {
    DigitLayout layout = LayoutDigits(n, w, h, cellWidth, cellHeight);
    for (int i = 0; i < layout.count; ++i) {
      const DigitPlace& place = layout.places[i];
      // The mask clears the digit's outline, the colour fills it.
      for (int32_t y = 0; y < cellHeight; ++y) {
        int32_t ty = place.y + y;
        if (ty < 0 || ty >= h) continue;
        for (int32_t x = 0; x < cellWidth; ++x) {
          int32_t tx = place.x + x;
          if (tx < 0 || tx >= w) continue;
          size_t from = static_cast<size_t>(y) * colour.width + place.digit * cellWidth + x;
          uint32_t& to = own[static_cast<size_t>(ty) * w + tx];
          to = (to & mask.pixels[from]) | colour.pixels[from];
        }
      }
    }
  }
  xcb_pixmap_t pixmap = UploadPixmap(display_, own.data(), w, w, h);
  if (pixmap == 0) return;
  animating_ = false;
  ReleaseOwnPicture();
  ownPicture_ = pixmap;
  ownShape_ = ShapeOf(display_, own.data(), w, w, h);
  ShowPicture(ownPicture_, ownShape_, w, h);
}

// Without poof artwork the star keeps its own picture, number included.
void XStarSurface::ShowPoofFrame(int32_t frame, bool centre) {
  if (artwork_ == nullptr || frame < 0 || frame >= artwork_->poof.FrameCount()) return;
  const XPicture& poof = artwork_->poof;
  animating_ = false;
  if (centre) {
    // A window that is already poof-sized (re-armed mid-poof) stays put.
    position_ = PoofCorner(position_, width_, height_, poof.FrameWidth(), poof.FrameHeight());
    MoveTo(position_);
  }
  ShowPicture(poof.Frame(frame), poof.Shape(frame), poof.FrameWidth(), poof.FrameHeight());
  ReleaseOwnPicture();
}

void XStarSurface::ShiftBy(int32_t dx, int32_t dy) {
  MoveTo(PixelPoint{position_.x + dx, position_.y + dy});
}

void XStarSurface::OnButtonPress(const xcb_button_press_event_t& event) {
  if (event.detail == 1) {
    dragging_ = true;
    raisedInDrag_ = false;
    ShiftBy(2, 2);
    // Where the pointer holds the window, after the shift.
    dragAnchor_ = PixelPoint{event.root_x - position_.x, event.root_y - position_.y};
    if (!grabbed_) {
      grabbed_ = true;
      events_->OnStarGrabbed(window_);
    }
    display_.Flush();
  } else if (event.detail == 3) {
    uintptr_t self = window_;
    StarWindowEvents* events = events_;
    if (dragging_) {
      dragging_ = false;
      // The drop may free this window.
      events->OnStarDropped(self);
      return;
    }
    if (grabbed_) ShowMenu(PixelPoint{event.root_x, event.root_y});
  }
}

void XStarSurface::OnButtonRelease(const xcb_button_release_event_t& event) {
  if (event.detail != 1 || !dragging_) return;
  dragging_ = false;
  ShiftBy(-2, -2);
  display_.Flush();
  if (grabbed_) events_->OnStarDropped(window_);  // may free this window
}

void XStarSurface::OnMotion(const xcb_motion_notify_event_t& event) {
  if (!dragging_) return;
  // The first step of a drag raises the star above the flying ones, which
  // never restack.
  if (!raisedInDrag_) Raise();
  raisedInDrag_ = true;
  MoveTo(PixelPoint{event.root_x - dragAnchor_.x, event.root_y - dragAnchor_.y});
}

void XStarSurface::ShowMenu(PixelPoint at) {
  uintptr_t self = window_;
  StarWindowEvents* events = events_;
  QMenu menu;
  QAction* erase = menu.addAction(QString::fromUtf8(UiText(kIDS_ERASE)));
  QAction* eraseAll = nullptr;
  QAction* tidy = nullptr;
  if (events->ManyStarsGrabbed()) {
    menu.addSeparator();
    eraseAll = menu.addAction(QString::fromUtf8(UiText(kIDS_ERASE_ALL)));
    tidy = menu.addAction(QString::fromUtf8(UiText(kIDS_TIDY)));
  }
  // The menu's own loop runs ticks, and a bomb that ends in one of them frees
  // this window: from here on only what was kept above is used.
  // Qt places menus in device-independent pixels.
  qreal ratio = display_.Dpi() / 96.0;
  QAction* chosen = menu.exec(QPoint(static_cast<int>(at.x / ratio), static_cast<int>(at.y / ratio)));
  if (chosen == nullptr) return;
  if (chosen == erase) events->OnStarMenu(self, StarMenuChoice::kErase);
  if (chosen == eraseAll) events->OnStarMenu(self, StarMenuChoice::kEraseAll);
  if (chosen == tidy) events->OnStarMenu(self, StarMenuChoice::kTidy);
}
