#include "linux/x_artwork.h"

#include "base/dpi_scale.h"
#include "images/embedded_artwork.h"

namespace {
constexpr int32_t kPoofSide = 128;
constexpr int32_t kPoofFrames = 5;
constexpr int32_t kDigitsWidth = 240;
constexpr int32_t kDigitsHeight = 32;
}  // namespace

bool BuiltInPixels(BuiltInArt art, int32_t width, int32_t height, PicturePixels* out) {
  PicturePtr picture = UnpackPicture(EmbeddedArtwork().Find(art), width, height);
  return picture && PicturePixelsFromPicture(*picture, out);
}

bool LoadXArtwork(XDisplay& display, XArtwork* artwork) {
  const int32_t dpi = display.Dpi();
  // Digit cells of the three sizes: 24 × 32, 18 × 24 and 12 × 16 unscaled.
  const int32_t cells[3][2] = {{24, 32}, {18, 24}, {12, 16}};
  PicturePixels sources[2];
  if (BuiltInPixels(BuiltInArt::kDigits, kDigitsWidth, kDigitsHeight, &sources[0]) &&
      BuiltInPixels(BuiltInArt::kDigitsMask, kDigitsWidth, kDigitsHeight, &sources[1])) {
    for (int size = 0; size < 3; ++size) {
      int32_t w = 10 * ScaleToDpi(cells[size][0], dpi);
      int32_t h = ScaleToDpi(cells[size][1], dpi);
      for (int mask = 0; mask < 2; ++mask) {
        PicturePixels& strip = artwork->digitStrips[2 * size + mask];
        if (w == kDigitsWidth && h == kDigitsHeight) {
          strip = sources[mask];
        } else {
          ResizePixels(sources[mask], w, h, &strip);
        }
      }
    }
  }

  PicturePixels whole;
  if (!BuiltInPixels(BuiltInArt::kPoof, kPoofSide, kPoofSide * kPoofFrames, &whole)) return false;
  // A strip of frames one above the other, in showing order from the top.
  whole.frameHeight = kPoofSide;
  whole.frameCount = kPoofFrames;
  whole.framesSideBySide = 0;
  const int32_t side = ScaleToDpi(kPoofSide, dpi);
  PicturePixels poof;
  poof.width = poof.frameWidth = poof.frameHeight = side;
  poof.height = side * kPoofFrames;
  poof.frameCount = kPoofFrames;
  poof.framesSideBySide = 0;
  if (side == kPoofSide) {
    poof.pixels = whole.pixels;
  } else {
    // Frame by frame, so no frame bleeds into its neighbour.
    poof.pixels.reserve(static_cast<size_t>(side) * side * kPoofFrames);
    for (int32_t k = 0; k < kPoofFrames; ++k) {
      PicturePixels frame, scaled;
      const uint32_t* first = whole.Frame(k);
      frame.pixels.assign(first, first + static_cast<size_t>(kPoofSide) * kPoofSide);
      frame.width = frame.frameWidth = frame.height = frame.frameHeight = kPoofSide;
      if (!ResizePixels(frame, side, side, &scaled)) return false;
      poof.pixels.insert(poof.pixels.end(), scaled.pixels.begin(), scaled.pixels.end());
    }
  }
  return artwork->poof.Upload(display, static_cast<PicturePixels&&>(poof));
}
