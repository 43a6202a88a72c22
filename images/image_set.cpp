#include "images/image_set.h"

#include <new>

ImageSet* StockStarImage(HBITMAP bitmap, ImageList<ImageSet>* list) {
  UniqueBitmap owned(bitmap);
  BITMAP info{};
  if (!owned || GetObjectA(bitmap, sizeof info, &info) == 0) return nullptr;
  ImageSet* set = new (std::nothrow) ImageSet{};
  if (set == nullptr) return nullptr;
  set->frameWidth = info.bmWidth;
  set->frameHeight = info.bmHeight;
  if (!set->picture.Adopt(owned.Release()) || !list->Append(set)) {
    delete set;
    return nullptr;
  }
  return set;
}

void ReleaseImageList(ImageList<ImageSet>* list) {
  while (list->Count() > 0) delete list->Remove(list->Count() - 1);
}
