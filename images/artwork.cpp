#include "images/artwork.h"

#include <zlib.h>

#include <cstdlib>
#include <new>

#include "base/app_state.h"
#include "base/resource_ids.h"
#include "images/alpha_bitmap.h"
#include "images/alpha_pixels.h"

FrameSize poofFrameSize{};
PoofFrame* poofChain = nullptr;
PoofFrame* poofFrames[kPoofFrameCount] = {};
ImageSet digitStrips[DIGIT_STRIP_COUNT] = {};

namespace {

constexpr int kDigitsColour = IDR_DIGITS_ART;
constexpr int kDigitsMask = IDR_DIGITS_MASK_ART;
constexpr int kPoof = IDR_POOF_ART;
constexpr int32_t kPoofSide = 128;

// Inflates BITARRAY resource id into a new buffer of exactly `expected`
// bytes. Null when the resource is missing or its stream is short, long or
// broken: partial pixels would show as garbage, so they are never used.
uint8_t* InflateResource(int id, size_t expected) {
  if (expected == 0) return nullptr;
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), "BITARRAY");
  if (found == nullptr) return nullptr;
  HGLOBAL loaded = LoadResource(module, found);
  const Bytef* packed = loaded != nullptr ? static_cast<const Bytef*>(LockResource(loaded)) : nullptr;
  DWORD packedSize = SizeofResource(module, found);
  uint8_t* buffer = packed != nullptr ? static_cast<uint8_t*>(std::malloc(expected)) : nullptr;
  if (buffer != nullptr) {
    uLongf produced = static_cast<uLongf>(expected);
    if (uncompress(buffer, &produced, packed, packedSize) != Z_OK || produced != expected) {
      std::free(buffer);
      buffer = nullptr;
    }
  }
  if (loaded != nullptr) FreeResource(loaded);
  return buffer;
}

HBITMAP BitmapFromResource(int id, int32_t width, int32_t height) {
  size_t bytes = AlphaPixelBytes(width, height);
  uint8_t* pixels = InflateResource(id, bytes);
  if (pixels == nullptr) return nullptr;
  HBITMAP bitmap = PrepairAlphaBitmapFromBitData(pixels, bytes, width, height);
  std::free(pixels);
  return bitmap;
}

void SelectInto(ImageSet& strip, HDC dc) {
  strip.dc = dc;
  strip.oldBitmap = SelectObject(dc, strip.bitmap);
}

}  // namespace

HBITMAP PrepairAlphaBitmapFromResource(int id, int32_t width, int32_t height) {
  return BitmapFromResource(id, width, height);
}

void PrepairPoofImage() {
  poofFrameSize = FrameSize{kPoofSide, kPoofSide};
  HBITMAP picture = BitmapFromResource(kPoof, kPoofSide, kPoofSide * kPoofFrameCount);
  if (picture == nullptr) return;

  HDC screen = GetDC(mainWindow);
  HDC pictureDC = CreateCompatibleDC(screen);
  HGDIOBJ pictureOld = SelectObject(pictureDC, picture);
  PoofFrame* head = new (std::nothrow) PoofFrame{};
  PoofFrame* terminator = new (std::nothrow) PoofFrame{};
  if (head != nullptr && terminator != nullptr) {
    PoofFrame* previous = head;
    for (int k = 0; k < kPoofFrameCount; ++k) {
      PoofFrame* frame = new (std::nothrow) PoofFrame{};
      if (frame == nullptr) break;
      frame->dc = CreateCompatibleDC(screen);
      frame->bitmap = CreateCompatibleBitmap(screen, kPoofSide, kPoofSide);
      frame->oldBitmap = SelectObject(frame->dc, frame->bitmap);
      BitBlt(frame->dc, 0, 0, kPoofSide, kPoofSide, pictureDC, 0, kPoofSide * k, SRCCOPY);
      previous->next = frame;
      frame->next = terminator;
      poofFrames[k] = frame;
      previous = frame;
    }
    poofChain = head;
  } else {
    delete head;
    delete terminator;
  }
  ReleaseDC(mainWindow, screen);
  SelectObject(pictureDC, pictureOld);
  DeleteObject(picture);
  DeleteDC(pictureDC);
}

void ReleasePoofImage() {
  for (PoofFrame* record = poofChain; record != nullptr;) {
    PoofFrame* next = record->next;
    if (record->dc != nullptr) {
      SelectObject(record->dc, record->oldBitmap);
      DeleteObject(record->bitmap);
      DeleteDC(record->dc);
    }
    delete record;
    record = next;
  }
  poofChain = nullptr;
  for (PoofFrame*& frame : poofFrames) frame = nullptr;
  poofFrameSize = FrameSize{};
}

void PrepairNumImage() {
  struct Reduced { int32_t width, height; };
  const Reduced medium{180, 24}, small{120, 16};
  ImageSet* s = digitStrips;

  s[DIGITS_LARGE_COLOUR].bitmap = BitmapFromResource(kDigitsColour, 240, 32);
  s[DIGITS_LARGE_COLOUR].frameWidth = 24;
  s[DIGITS_LARGE_COLOUR].frameHeight = 32;
  if (void* colour = AlphaBitmapBits(s[DIGITS_LARGE_COLOUR].bitmap)) {
    s[DIGITS_MEDIUM_COLOUR].bitmap = GetReducedBitmap(medium.width, medium.height, 240, 32, colour);
    s[DIGITS_SMALL_COLOUR].bitmap = GetReducedBitmap(small.width, small.height, 240, 32, colour);
  }
  s[DIGITS_MEDIUM_COLOUR].frameWidth = 18;
  s[DIGITS_MEDIUM_COLOUR].frameHeight = 24;
  s[DIGITS_SMALL_COLOUR].frameWidth = 12;
  s[DIGITS_SMALL_COLOUR].frameHeight = 16;

  s[DIGITS_LARGE_MASK].bitmap = BitmapFromResource(kDigitsMask, 240, 32);
  if (void* mask = AlphaBitmapBits(s[DIGITS_LARGE_MASK].bitmap)) {
    s[DIGITS_MEDIUM_MASK].bitmap = GetReducedBitmap(medium.width, medium.height, 240, 32, mask);
    s[DIGITS_SMALL_MASK].bitmap = GetReducedBitmap(small.width, small.height, 240, 32, mask);
  }

  if (s[DIGITS_LARGE_COLOUR].bitmap == nullptr) return;
  HDC screen = GetDC(mainWindow);
  HDC dcs[DIGIT_STRIP_COUNT];
  for (HDC& dc : dcs) dc = CreateCompatibleDC(screen);
  ReleaseDC(mainWindow, screen);
  for (int k = 0; k < DIGIT_STRIP_COUNT; ++k) SelectInto(s[k], dcs[k]);
}

void ReleaseNumImage() {
  // The DCs exist exactly when the large colour strip was selected into one.
  if (digitStrips[DIGITS_LARGE_COLOUR].oldBitmap != nullptr) {
    for (ImageSet& strip : digitStrips) {
      SelectObject(strip.dc, strip.oldBitmap);
      DeleteDC(strip.dc);
    }
  }
  for (ImageSet& strip : digitStrips) {
    if (strip.bitmap != nullptr) DeleteObject(strip.bitmap);
    strip = ImageSet{};
  }
}
