#include "images/win32/alpha_bitmap.h"

#include <cstring>

#include "base/owned_handles.h"

#include "images/alpha_pixels.h"

UniqueBitmap CreateBitmapV5(BITMAPV5HEADER* header, int32_t width, int32_t height) {
  ZeroMemory(header, sizeof *header);
  header->bV5Size = sizeof(BITMAPV5HEADER);
  header->bV5Width = width;
  header->bV5Height = height;  // positive: bottom-up rows
  header->bV5Planes = 1;
  header->bV5BitCount = 32;
  header->bV5Compression = BI_BITFIELDS;
  header->bV5RedMask = 0x00FF0000;
  header->bV5GreenMask = 0x0000FF00;
  header->bV5BlueMask = 0x000000FF;
  header->bV5AlphaMask = 0xFF000000;
  if (AlphaPixelBytes(width, height) == 0) return {};

  ScreenDC screen(nullptr);
  void* bits = nullptr;
  return UniqueBitmap(CreateDIBSection(screen.Get(), reinterpret_cast<BITMAPINFO*>(header),
                                       DIB_RGB_COLORS, &bits, nullptr, 0));
}

void* AlphaBitmapBits(HBITMAP bitmap) {
  BITMAP info{};
  if (bitmap == nullptr || GetObjectA(bitmap, sizeof info, &info) == 0) return nullptr;
  return info.bmBits;
}

namespace {

// Pixel memory of a new alpha bitmap, made once the picture's size is known.
class BitmapTarget : public PixelTarget {
 public:
  uint32_t* Allocate(int32_t width, int32_t height) override {
    if (bitmap) return nullptr;
    BITMAPV5HEADER header;
    bitmap = CreateBitmapV5(&header, width, height);
    return static_cast<uint32_t*>(AlphaBitmapBits(bitmap.Get()));
  }
  UniqueBitmap bitmap;
};

}  // namespace

UniqueBitmap PrepairStarBitmap(const char* path, int keepSize, const StopSignal* stop) {
  BitmapTarget target;
  int32_t width = 0, height = 0;
  if (!LoadStarPixels(path, keepSize, &target, &width, &height, nullptr, stop)) return {};
  return std::move(target.bitmap);
}

UniqueBitmap PrepairAlphaBitmap(const char* path) { return PrepairStarBitmap(path, 1); }

UniqueBitmap PrepairAlphaBitmapFromBitData(const void* data, size_t length, int32_t width,
                                           int32_t height) {
  BITMAPV5HEADER header;
  UniqueBitmap bitmap = CreateBitmapV5(&header, width, height);
  void* bits = AlphaBitmapBits(bitmap.Get());
  if (bits == nullptr) return {};
  // Never past the bitmap's own memory, whatever length the caller claims.
  size_t size = AlphaPixelBytes(width, height);
  if (data != nullptr) memcpy(bits, data, length < size ? length : size);
  return bitmap;
}
