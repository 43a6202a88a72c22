#include "base/app_state.h"
#include "images/alpha_bitmap.h"
#include "images/artwork.h"
#include "images/image_set.h"
#include "stars/group_rules.h"
#include "stars/motion_rules.h"
#include "stars/pupil_window.h"
#include "stars/star_groups.h"

namespace {

// Gives the window a DC and bitmap of its own; 1 when it has them. On any
// failure nothing is kept, and the window goes on showing what it showed.
int CreateStarNumber(PupilWindow* window, int32_t width, int32_t height) {
  HDC screen = GetDC(mainWindow);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(mainWindow, screen);
  if (dc == nullptr) return 0;
  BITMAPV5HEADER header;
  HBITMAP bitmap = CreateBitmapV5(&header, width, height);
  HGDIOBJ previous = bitmap != nullptr ? SelectObject(dc, bitmap) : nullptr;
  if (previous == nullptr || previous == HGDI_ERROR) {
    if (bitmap != nullptr) DeleteObject(bitmap);
    DeleteDC(dc);
    return 0;
  }
  window->sourceDC = dc;
  window->ownBitmap = bitmap;
  window->ownBitmapPrevious = previous;
  return 1;
}

}  // namespace

void ReleaseStarNumber(PupilWindow* window) {
  if (window == nullptr || window->ownBitmapPrevious == nullptr) return;
  SelectObject(window->sourceDC, window->ownBitmapPrevious);
  DeleteObject(window->ownBitmap);
  DeleteDC(window->sourceDC);
  window->ownBitmapPrevious = nullptr;
  window->ownBitmap = nullptr;
  window->sourceDC = nullptr;
}

void SetStarNumber(Star* star, int n) {
  if (star == nullptr || n <= 1 || star->window == nullptr) return;
  PupilWindow* window = star->window;
  ImageSet* image = StarImageList.Get(star->imageIndex);
  if (image == nullptr) return;
  int32_t width = image->frameWidth;
  int32_t height = image->frameHeight;
  if (window->ownBitmapPrevious == nullptr && !CreateStarNumber(window, width, height)) return;
  HDC own = window->sourceDC;

  // The current frame, copied over any earlier number; the star stops animating.
  FrameOrigin frame =
      FrameSourcePoint(1, window->frameIndex, width, height, image->framesSideBySide);
  window->frameCount = 0;
  BitBlt(own, 0, 0, width, height, image->dc, frame.x, frame.y, SRCCOPY);

  DigitSize size = DigitSizeFor(height);
  const ImageSet& colour = digitStrips[DIGITS_LARGE_COLOUR + 2 * size];
  const ImageSet& mask = digitStrips[DIGITS_LARGE_MASK + 2 * size];
  int32_t cellWidth = colour.frameWidth;
  int32_t cellHeight = colour.frameHeight;
  DigitLayout layout = LayoutDigits(n, width, height, cellWidth, cellHeight);
  for (int i = 0; i < layout.count; ++i) {
    const DigitPlace& place = layout.places[i];
    // The mask clears the digit's outline, the colour fills it; without the
    // mask the colour would blend into the star, so it is skipped.
    if (BitBlt(own, place.x, place.y, cellWidth, cellHeight, mask.dc, place.digit * cellWidth, 0,
               SRCAND)) {
      BitBlt(own, place.x, place.y, cellWidth, cellHeight, colour.dc, place.digit * cellWidth, 0,
             SRCPAINT);
    }
  }

  POINT position = window->GetPosition();
  window->SetImage(own, width, height);
  window->MoveTo(position);
}
