#include "stars/win32/pupil_surface.h"

#include "stars/bomb_rules.h"
#include "stars/group_rules.h"
#include "stars/motion_rules.h"

void PupilSurface::Create(HWND owner, HCURSOR cursor, UiTextBlock* texts) {
  window_.Create(owner, cursor);
  window_.SetMenuTexts(texts);
  if (image_ == nullptr) return;
  window_.SetFrames(image_->frameCount, image_->framesSideBySide);
  window_.SetImage(image_->DC(), image_->frameWidth, image_->frameHeight);
}

void PupilSurface::DrawNumber(int32_t n) {
  if (image_ == nullptr) return;
  int32_t width = image_->frameWidth;
  int32_t height = image_->frameHeight;
  // On failure nothing is kept, and the window goes on showing what it showed.
  HDC own = window_.MakeOwnPicture(width, height);
  if (own == nullptr) return;

  // The current frame, copied over any earlier number; the star stops animating.
  FrameOrigin frame = FrameSourcePoint(1, window_.FrameIndex(), width, height, image_->framesSideBySide);
  window_.StopAnimation();
  BitBlt(own, 0, 0, width, height, image_->DC(), frame.x, frame.y, SRCCOPY);

  DigitSize size = DigitSizeFor(height, ProcessDpi());
  const ImageSet& colour = artwork_->digitStrips[DIGITS_LARGE_COLOUR + 2 * size];
  const ImageSet& mask = artwork_->digitStrips[DIGITS_LARGE_MASK + 2 * size];
  int32_t cellWidth = colour.frameWidth;
  int32_t cellHeight = colour.frameHeight;
  DigitLayout layout = LayoutDigits(n, width, height, cellWidth, cellHeight);
  for (int i = 0; i < layout.count; ++i) {
    const DigitPlace& place = layout.places[i];
    // The mask clears the digit's outline, the colour fills it; without the
    // mask the colour would blend into the star, so it is skipped.
    if (BitBlt(own, place.x, place.y, cellWidth, cellHeight, mask.DC(), place.digit * cellWidth, 0, SRCAND)) {
      BitBlt(own, place.x, place.y, cellWidth, cellHeight, colour.DC(), place.digit * cellWidth, 0, SRCPAINT);
    }
  }

  POINT position = window_.GetPosition();
  window_.SetImage(own, width, height);
  window_.MoveTo(position);
}

// Without poof artwork the star keeps its own picture, number included.
void PupilSurface::ShowPoofFrame(int32_t frame, bool centre) {
  const MemoryBitmap* poof = artwork_->PoofFrame(frame);
  if (poof == nullptr) return;
  const FrameSize& poofSize = artwork_->poofFrameSize;
  window_.ReleaseOwnPicture();
  window_.RewindAnimation();
  window_.StopAnimation();  // the poof is shown as still pictures, one per tick
  POINT position = window_.GetPosition();
  SIZE size = window_.GetSize();
  if (centre) {
    // A window that is already poof-sized (re-armed mid-poof) stays put.
    PixelPoint corner =
        PoofCorner(PixelPoint{position.x, position.y}, size.cx, size.cy, poofSize.width, poofSize.height);
    position = POINT{corner.x, corner.y};
  }
  // Place and size the window in one step, so that it never shows the poof
  // anywhere but centred on the star; then give it the frame.
  SetWindowPos(window_.Handle(), nullptr, position.x, position.y, poofSize.width, poofSize.height,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  window_.SetImage(poof->DC(), poofSize.width, poofSize.height);
  window_.MoveTo(position);  // a hidden window was parked by SetImage
}
