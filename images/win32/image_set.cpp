#include "images/win32/image_set.h"

#include "images/alpha_pixels.h"
#include "images/win32/alpha_bitmap.h"

#include <new>
#include <utility>

ImageSet* StockStarImage(UniqueBitmap bitmap, ImageList<ImageSet>* list) {
  BITMAP info{};
  if (!bitmap || GetObjectA(bitmap.Get(), sizeof info, &info) == 0) return nullptr;
  ImageSet* set = new (std::nothrow) ImageSet{};
  if (set == nullptr) return nullptr;
  set->frameWidth = info.bmWidth;
  set->frameHeight = info.bmHeight;
  if (!set->picture.Adopt(std::move(bitmap)) || !list->Append(set)) {
    delete set;
    return nullptr;
  }
  return set;
}

void ReleaseImageList(ImageList<ImageSet>* list) {
  while (list->Count() > 0) delete list->Remove(list->Count() - 1);
}

bool ImageSet::Realise() {
  if (picture || !pixels) return static_cast<bool>(picture);
  UniqueBitmap bitmap = PrepairAlphaBitmapFromBitData(
      pixels->pixels.get(), AlphaPixelBytes(pixels->width, pixels->height), pixels->width, pixels->height);
  if (!picture.Adopt(std::move(bitmap))) return false;
  pixels.reset();
  return true;
}

ImageSet* StockPicture(PicturePtr picture, ImageList<ImageSet>* list, bool madeLater) {
  if (!picture) return nullptr;
  ImageSet* set = new (std::nothrow) ImageSet{};
  if (set == nullptr) return nullptr;
  const FrameLayout& frames = picture->Frames();
  set->frameWidth = frames.frameWidth;
  set->frameHeight = frames.frameHeight;
  set->frameCount = frames.frameCount;
  set->framesSideBySide = frames.framesSideBySide;
  set->pixels = std::move(picture);
  if ((!madeLater && !set->Realise()) || !list->Append(set)) {
    delete set;
    return nullptr;
  }
  return set;
}
