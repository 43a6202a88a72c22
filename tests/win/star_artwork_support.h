// Test artwork for bombs and numbers: poof frames and digit strips with known
// pixels in the globals the star field reads, released after each test, and
// ways to read pictures back and to count the process's GDI objects.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>

#include "images/win32/artwork.h"
#include "star_test_support.h"

// Poof frame k is one solid colour of its own.
inline uint32_t PoofColour(int frame) {
  return 0xFF102030u + 0x00101010u * static_cast<uint32_t>(frame);
}

// Digit k is a solid rectangle of its own opaque colour inside its cell, at
// cell-local x in [kDigitLeft, kDigitRight) and y in [kDigitTop, cell height -
// kDigitTop); the mask is 0 there and all ones elsewhere, the colour 0 elsewhere.
constexpr int kDigitLeft = 1;
constexpr int kDigitRight = 6;
constexpr int kDigitTop = 2;
inline uint32_t DigitColour(int digit) {
  return 0xFF000000u | (static_cast<uint32_t>(30 + 20 * digit) << 16) |
         (static_cast<uint32_t>(220 - 15 * digit) << 8) | static_cast<uint32_t>(7 * digit + 1);
}

// The pixel memory of the bitmap selected into a DC, and its row order.
struct DcPixels {
  uint32_t* bits;
  int width;
  int height;
  bool bottomUp;
  uint32_t At(int x, int y) const {
    int row = bottomUp ? height - 1 - y : y;
    return bits[row * width + x];
  }
  void Set(int x, int y, uint32_t bgra) {
    int row = bottomUp ? height - 1 - y : y;
    bits[row * width + x] = bgra;
  }
};

inline DcPixels PixelsOf(HBITMAP bitmap) {
  DIBSECTION section{};
  if (bitmap == nullptr || GetObjectA(bitmap, sizeof section, &section) != sizeof section) {
    return DcPixels{nullptr, 0, 0, true};
  }
  GdiFlush();
  return DcPixels{static_cast<uint32_t*>(section.dsBm.bmBits), section.dsBm.bmWidth,
                  std::abs(section.dsBmih.biHeight), section.dsBmih.biHeight > 0};
}

// What a window shows: the pixels of the bitmap in its source DC.
inline DcPixels PixelsOf(HDC dc) {
  return PixelsOf(static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP)));
}

// Live GDI objects of this process. Wine answers GetGuiResources with 0, so
// there every slot of its GDI handle table is asked for its object type: Wine
// takes a handle whose upper word is 0 as naming whatever lives in that slot.
inline int GdiObjectCount() {
  DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (reported != 0) return static_cast<int>(reported);
  int live = 0;
  for (ULONG_PTR slot = 1; slot < 0x10000; ++slot) {
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0) ++live;
  }
  return live;
}

// Fills a star field's artwork; the field releases it.
class TestArtwork {
 public:
  explicit TestArtwork(StarArtwork& artwork) {
    artwork.poofFrameSize = FrameSize{128, 128};
    for (int k = 0; k < kPoofFrameCount; ++k) {
      artwork.poofFrames[k].Adopt(MakeAlphaBitmap(128, 128, PoofColour(k)));
    }
    MakeStrips(artwork, DIGITS_LARGE_COLOUR, 24, 32);
    MakeStrips(artwork, DIGITS_MEDIUM_COLOUR, 18, 24);
    MakeStrips(artwork, DIGITS_SMALL_COLOUR, 12, 16);
  }

 private:
  static void MakeStrips(StarArtwork& artwork, int colourRecord, int cellWidth, int cellHeight) {
    UniqueBitmap colour = MakeAlphaBitmap(10 * cellWidth, cellHeight, 0u);
    UniqueBitmap mask = MakeAlphaBitmap(10 * cellWidth, cellHeight, 0xFFFFFFFFu);
    DcPixels colourPixels = PixelsOf(colour.Get());
    DcPixels maskPixels = PixelsOf(mask.Get());
    for (int digit = 0; digit < 10; ++digit) {
      for (int y = kDigitTop; y < cellHeight - kDigitTop; ++y) {
        for (int x = kDigitLeft; x < kDigitRight; ++x) {
          colourPixels.Set(digit * cellWidth + x, y, DigitColour(digit));
          maskPixels.Set(digit * cellWidth + x, y, 0u);
        }
      }
    }
    ImageSet& colourSet = artwork.digitStrips[colourRecord];
    ImageSet& maskSet = artwork.digitStrips[colourRecord + 1];
    colourSet.picture.Adopt(std::move(colour));
    maskSet.picture.Adopt(std::move(mask));
    colourSet.frameWidth = cellWidth;
    colourSet.frameHeight = cellHeight;
  }
};

inline POINT Corner(const Star* star) { return WindowOf(star)->GetPosition(); }

// The star field with test artwork; the chase game starts afresh.
class StarGroupTest : public StarFieldTest {
 protected:
  // A star of that image, grabbed as the first press grabs it, standing with
  // its corner at (x, y).
  Star* GrabbedStar(int32_t imageIndex, int32_t x, int32_t y) {
    Star* star = field.Pool().CreateNewStar(x, y, imageIndex);
    if (star == nullptr || star->window == nullptr) return star;
    WindowOf(star)->MarkGrabbed();
    WindowOf(star)->MoveTo(POINT{x, y});
    return star;
  }

  // The poof frame a star window shows, -1 for a picture of its own.
  int PoofFrameShown(const Star* star) const {
    for (int k = 0; k < kPoofFrameCount; ++k) {
      const MemoryBitmap* frame = field.artwork.PoofFrame(k);
      if (frame != nullptr && WindowOf(star)->SourceDC() == frame->DC()) return k;
    }
    return -1;
  }

  // As after a failed start: no poof frames at all.
  void ReleasePoof() { field.artwork.ReleasePoofImage(); }

  TestArtwork testArtwork{field.artwork};
};
