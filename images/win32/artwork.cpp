#include "images/win32/artwork.h"

#include <new>
#include <utility>

#include "base/dpi_scale.h"
#include "base/resource_ids.h"
#include "images/win32/alpha_bitmap.h"
#include "images/alpha_pixels.h"
#include "images/artwork_payload.h"
#include "images/win32/win32_sources.h"

namespace {

constexpr int kDigitsColour = IDR_DIGITS_ART;
constexpr int kDigitsMask = IDR_DIGITS_MASK_ART;
constexpr int kPoof = IDR_POOF_ART;
constexpr int32_t kPoofSide = 128;

UniqueBitmap BitmapFromResource(int id, int32_t width, int32_t height) {
  PicturePtr pixels = UnpackPicture(FindBitArray(id), width, height);
  if (!pixels) return {};
  return PrepairAlphaBitmapFromBitData(pixels->pixels.get(), AlphaPixelBytes(width, height), width, height);
}

// Each frame made at side x side straight from its part of the strip (the
// strip is bottom-up: the first frame holds its last memory rows).
void ScalePoofFrames(const MemoryBitmap& whole, int32_t side, MemoryBitmap* frames) {
  const uint32_t* pixels = static_cast<const uint32_t*>(AlphaBitmapBits(whole.Bitmap()));
  if (pixels == nullptr) return;
  const size_t frameSize = static_cast<size_t>(kPoofSide) * kPoofSide;
  for (int k = 0; k < kPoofFrameCount; ++k) {
    const uint32_t* frame = pixels + frameSize * static_cast<size_t>(kPoofFrameCount - 1 - k);
    frames[k].Adopt(GetResizedBitmap(side, side, kPoofSide, kPoofSide, frame));
  }
}

}  // namespace

UniqueBitmap PrepairAlphaBitmapFromResource(int id, int32_t width, int32_t height) {
  return BitmapFromResource(id, width, height);
}

void StarArtwork::PrepairPoofImage() {
  ReleasePoofImage();
  MemoryBitmap whole;
  if (!whole.Adopt(BitmapFromResource(kPoof, kPoofSide, kPoofSide * kPoofFrameCount))) return;
  const int32_t side = Scaled(kPoofSide);
  poofFrameSize = FrameSize{side, side};
  if (side != kPoofSide) {
    ScalePoofFrames(whole, side, poofFrames);
    return;
  }
  ScreenDC screen(nullptr);
  for (int k = 0; k < kPoofFrameCount; ++k) {
    if (!poofFrames[k].Adopt(UniqueBitmap(CreateCompatibleBitmap(screen.Get(), kPoofSide, kPoofSide)))) continue;
    BitBlt(poofFrames[k].DC(), 0, 0, kPoofSide, kPoofSide, whole.DC(), 0, kPoofSide * k, SRCCOPY);
  }
}


void StarArtwork::ReleasePoofImage() {
  for (MemoryBitmap& frame : poofFrames) frame.Reset();
  poofFrameSize = FrameSize{};
}

void StarArtwork::PrepairNumImage() {
  ReleaseNumImage();
  struct Cell { int32_t width, height; };
  const Cell cells[3] = {{Scaled(24), Scaled(32)}, {Scaled(18), Scaled(24)}, {Scaled(12), Scaled(16)}};
  UniqueBitmap sources[2] = {BitmapFromResource(kDigitsColour, 240, 32), BitmapFromResource(kDigitsMask, 240, 32)};
  if (!sources[0]) return;
  // Every strip is made from the 240 x 32 sources at its cell size (180 x 24
  // and 120 x 16 unscaled); one of the source's own size is the source.
  UniqueBitmap bitmaps[DIGIT_STRIP_COUNT];
  for (int size = 2; size >= 0; --size) {
    for (int mask = 0; mask < 2; ++mask) {
      void* pixels = AlphaBitmapBits(sources[mask].Get());
      if (pixels == nullptr) continue;
      if (size == 0 && cells[0].width == 24 && cells[0].height == 32) {
        bitmaps[2 * size + mask] = std::move(sources[mask]);
      } else {
        bitmaps[2 * size + mask] = GetResizedBitmap(10 * cells[size].width, cells[size].height, 240, 32, pixels);
      }
    }
  }
  if (!bitmaps[0]) return;
  for (int k = 0; k < DIGIT_STRIP_COUNT; ++k) digitStrips[k].picture.Adopt(std::move(bitmaps[k]));
  for (int size = 0; size < 3; ++size) {
    digitStrips[2 * size].frameWidth = cells[size].width;
    digitStrips[2 * size].frameHeight = cells[size].height;
  }
}

void StarArtwork::ReleaseNumImage() {
  for (ImageSet& strip : digitStrips) {
    strip.picture.Reset();
    strip.frameWidth = 0;
    strip.frameHeight = 0;
  }
}
