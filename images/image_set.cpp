#include "images/image_set.h"

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
