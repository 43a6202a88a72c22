#include "images/star_images.h"

#include <windows.h>

#include <cstdio>
#include <new>

#include "app/app_state.h"
#include "app/message_out.h"
#include "app/ui_texts.h"
#include "images/alpha_bitmap.h"
#include "images/artwork.h"
#include "images/star_image_rules.h"
#include "stars/pupil_window.h"
#include "stars/star.h"

namespace {

constexpr int kFolderTextSize = 4096;  // the test display takes folder texts this long

bool SystemLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != 0; }

// Replaces *bitmap by a copy reduced to size; 0 (bitmap untouched) on failure.
int ReduceInPlace(HBITMAP* bitmap, PictureSize size, int32_t width, int32_t height) {
  HBITMAP reduced = GetReducedBitmap(size.width, size.height, width, height, AlphaBitmapBits(*bitmap));
  if (reduced == nullptr) return 0;
  DeleteObject(*bitmap);
  *bitmap = reduced;
  return 1;
}

}  // namespace

int SearchSubString(const char* text, const char* pattern) {
  return SearchSubString(text, pattern, SystemLeadByte);
}

int PrepairStarImageByFile(const char* path, ImageList<ImageSet>* list) {
  if (path == nullptr || path[0] == '\0') return 0;
  HBITMAP bitmap = PrepairAlphaBitmap(path);
  if (bitmap == nullptr) return 0;
  BITMAP info{};
  GetObjectA(bitmap, sizeof info, &info);

  if (SearchSubString(path, "_fix") < 0) {
    PictureSize size = ReducedStarSize(info.bmWidth, info.bmHeight);
    bool reduce = size.width != info.bmWidth || size.height != info.bmHeight;
    // A picture too thin to keep a row at 72 pixels is not loaded.
    if (size.width == 0 || (reduce && !ReduceInPlace(&bitmap, size, info.bmWidth, info.bmHeight))) {
      DeleteObject(bitmap);
      return 0;
    }
  }

  ImageSet* set = StockStarImage(bitmap, list);
  if (set == nullptr) {
    DeleteObject(bitmap);
    return 0;
  }
  if (SearchSubString(path, "_anm") >= 0) {
    FrameLayout layout = StripLayout(set->frameWidth, set->frameHeight);
    if (layout.frameCount > 1) {
      set->frameWidth = layout.frameWidth;
      set->frameHeight = layout.frameHeight;
      set->frameCount = layout.frameCount;
      set->framesSideBySide = layout.framesSideBySide;
    }
  }
  return 1;
}

int PrepairStarImageByFolder(const char* folder, ImageList<ImageSet>* list) {
  char pattern[kFolderTextSize];
  int length = std::snprintf(pattern, sizeof pattern, "%s\\*.png", folder);
  if (length < 0 || length >= static_cast<int>(sizeof pattern)) return 0;
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA(pattern, &entry);
  if (search == INVALID_HANDLE_VALUE) return 0;

  bool failed = false;
  do {
    char path[kFolderTextSize];
    length = std::snprintf(path, sizeof path, "%s\\%s", folder, entry.cFileName);
    bool fits = length >= 0 && length < static_cast<int>(sizeof path);
    if (!fits || !PrepairStarImageByFile(path, list)) failed = true;
  } while (FindNextFileA(search, &entry));
  FindClose(search);

  // The list being filled decides: for the test display that is its own
  // list, so a folder of broken files reports itself there too.
  if (failed && list->Count() > 0) MessageOut(UiTexts.slot[8]);
  return list->Count() > 0 ? 1 : 0;
}

int PrepairStarImage(int resourceId, int32_t width, int32_t height) {
  HBITMAP bitmap = PrepairAlphaBitmapFromResource(resourceId, width, height);
  if (bitmap == nullptr) {
    MessageOut(UiTexts.slot[10]);
    PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    return 0;
  }
  ImageSet* full = StockStarImage(bitmap, &StarImageList);
  if (full == nullptr) {
    DeleteObject(bitmap);
    return 1;
  }
  const int32_t smallerSides[] = {48, 32};
  for (int32_t side : smallerSides) {
    HBITMAP reduced = GetReducedBitmap(side, side, width, height, AlphaBitmapBits(bitmap));
    if (reduced != nullptr && StockStarImage(reduced, &StarImageList) == nullptr) DeleteObject(reduced);
  }
  return 1;
}

void ViewImageListInFolder(const char* folder) {
  char copy[kFolderTextSize];
  std::snprintf(copy, sizeof copy, "%s", folder);
  if (!PrepairStarImageByFolder(copy, &TestImageList)) return;

  const int count = TestImageList.Count();
  int32_t* widths = new (std::nothrow) int32_t[count];
  DisplaySpot* spots = new (std::nothrow) DisplaySpot[count];
  if (widths == nullptr || spots == nullptr) {
    delete[] widths;
    delete[] spots;
    return;
  }
  for (int k = 0; k < count; ++k) widths[k] = TestImageList.Get(k)->frameWidth;
  RECT dialog{};
  if (settingsDialog != nullptr) GetWindowRect(settingsDialog, &dialog);
  int placed = LayOutTestDisplay(widths, count, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                 dialog.bottom, spots);

  for (int k = 0; k < placed; ++k) {
    ImageSet* set = TestImageList.Get(k);
    Star* star = new (std::nothrow) Star{};
    if (star == nullptr) break;
    star->inUse = 1;
    star->count = 1;
    star->x = spots[k].x;
    star->y = spots[k].y;
    star->imageIndex = k;
    star->window = new (std::nothrow) PupilWindow();
    if (PupilWindow* window = star->window) {
      window->Create(mainWindow, starCursor);
      window->SetMenuTexts(&UiTexts);
      window->grabbed = 0;
      window->menuEnabled = 0;
      window->framesSideBySide = set->framesSideBySide;
      window->frameCount = set->frameCount;
      window->frameIndex = 0;
      window->SetImage(set->dc, set->frameWidth, set->frameHeight);
      window->MoveTo(POINT{star->x, star->y});
    }
    if (!TestStarList.Append(star)) {
      if (star->window != nullptr) star->window->PostClose();
      delete star->window;
      delete star;
      break;
    }
  }
  delete[] widths;
  delete[] spots;

  for (int k = 0; k < TestStarList.Count(); ++k) {
    if (PupilWindow* window = TestStarList.Get(k)->window) window->ShowTopmost();
  }
  if (TestStarList.Count() < TestImageList.Count()) MessageOut(UiTexts.slot[11]);
}

void CleanUpImageList() {
  ReleaseImageList(&TestImageList);
  while (TestStarList.Count() > 0) {
    Star* star = TestStarList.Remove(0);
    if (star->window != nullptr) {
      star->window->PostClose();
      delete star->window;
    }
    delete star;
  }
}
