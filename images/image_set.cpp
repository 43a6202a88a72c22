#include "images/image_set.h"

#include <new>

#include "base/app_state.h"

ImageList<ImageSet> StarImageList;

ImageSet* StockStarImage(HBITMAP bitmap, ImageList<ImageSet>* list) {
  BITMAP info{};
  if (bitmap == nullptr || GetObjectA(bitmap, sizeof info, &info) == 0) return nullptr;
  ImageSet* set = new (std::nothrow) ImageSet{};
  if (set == nullptr) return nullptr;
  set->frameWidth = info.bmWidth;
  set->frameHeight = info.bmHeight;

  HDC screen = GetDC(mainWindow);
  set->dc = CreateCompatibleDC(screen);
  ReleaseDC(mainWindow, screen);
  if (set->dc == nullptr) {
    delete set;
    return nullptr;
  }
  set->bitmap = bitmap;
  set->oldBitmap = SelectObject(set->dc, bitmap);
  set->frameCount = 1;
  set->framesSideBySide = 1;
  if (!list->Append(set)) {
    SelectObject(set->dc, set->oldBitmap);
    DeleteDC(set->dc);
    delete set;
    return nullptr;
  }
  return set;
}

void ReleaseImageSet(ImageSet* set) {
  if (set == nullptr) return;
  SelectObject(set->dc, set->oldBitmap);
  DeleteObject(set->bitmap);
  DeleteDC(set->dc);
  delete set;
}

void ReleaseImageList(ImageList<ImageSet>* list) {
  while (list->Count() > 0) ReleaseImageSet(list->Remove(list->Count() - 1));
}
