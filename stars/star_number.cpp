#include "stars/group_rules.h"
#include "stars/motion_rules.h"
#include "stars/pupil_window.h"
#include "stars/star_field.h"

void StarField::SetStarNumber(Star* star, int n) {
  if (star == nullptr || n <= 1 || star->window == nullptr) return;
  PupilWindow* window = star->window;
  ImageSet* image = StarImageList.Get(star->imageIndex);
  if (image == nullptr) return;
  int32_t width = image->frameWidth;
  int32_t height = image->frameHeight;
  // On failure nothing is kept, and the window goes on showing what it showed.
  HDC own = window->MakeOwnPicture(width, height);
  if (own == nullptr) return;

  // The current frame, copied over any earlier number; the star stops animating.
  FrameOrigin frame =
      FrameSourcePoint(1, window->FrameIndex(), width, height, image->framesSideBySide);
  window->StopAnimation();
  BitBlt(own, 0, 0, width, height, image->DC(), frame.x, frame.y, SRCCOPY);

  DigitSize size = DigitSizeFor(height);
  const ImageSet& colour = artwork.digitStrips[DIGITS_LARGE_COLOUR + 2 * size];
  const ImageSet& mask = artwork.digitStrips[DIGITS_LARGE_MASK + 2 * size];
  int32_t cellWidth = colour.frameWidth;
  int32_t cellHeight = colour.frameHeight;
  DigitLayout layout = LayoutDigits(n, width, height, cellWidth, cellHeight);
  for (int i = 0; i < layout.count; ++i) {
    const DigitPlace& place = layout.places[i];
    // The mask clears the digit's outline, the colour fills it; without the
    // mask the colour would blend into the star, so it is skipped.
    if (BitBlt(own, place.x, place.y, cellWidth, cellHeight, mask.DC(), place.digit * cellWidth, 0,
               SRCAND)) {
      BitBlt(own, place.x, place.y, cellWidth, cellHeight, colour.DC(), place.digit * cellWidth, 0,
             SRCPAINT);
    }
  }

  POINT position = window->GetPosition();
  window->SetImage(own, width, height);
  window->MoveTo(position);
}
