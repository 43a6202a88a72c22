#include "images/star_images.h"

#include <windows.h>

#include <cstdio>
#include <new>

#include "images/alpha_bitmap.h"
#include "images/artwork.h"
#include "images/star_image_rules.h"

namespace {

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
  if (set == nullptr) return 0;
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

int PrepairStarImageByFolder(const char* folder, ImageList<ImageSet>* list, int* failedFiles) {
  if (failedFiles != nullptr) *failedFiles = 0;
  char pattern[kFolderPathSize];
  int length = std::snprintf(pattern, sizeof pattern, "%s\\*.png", folder);
  if (length < 0 || length >= static_cast<int>(sizeof pattern)) return 0;
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA(pattern, &entry);
  if (search == INVALID_HANDLE_VALUE) return 0;

  int failed = 0;
  do {
    char path[kFolderPathSize];
    length = std::snprintf(path, sizeof path, "%s\\%s", folder, entry.cFileName);
    bool fits = length >= 0 && length < static_cast<int>(sizeof path);
    if (!fits || !PrepairStarImageByFile(path, list)) ++failed;
  } while (FindNextFileA(search, &entry));
  FindClose(search);

  if (failedFiles != nullptr) *failedFiles = failed;
  return list->Count() > 0 ? 1 : 0;
}

int PrepairStarImage(int resourceId, int32_t width, int32_t height, ImageList<ImageSet>* list) {
  HBITMAP bitmap = PrepairAlphaBitmapFromResource(resourceId, width, height);
  if (bitmap == nullptr) return 0;
  ImageSet* full = StockStarImage(bitmap, list);
  if (full == nullptr) return 1;
  const int32_t smallerSides[] = {48, 32};
  for (int32_t side : smallerSides) {
    HBITMAP reduced = GetReducedBitmap(side, side, width, height, AlphaBitmapBits(bitmap));
    if (reduced != nullptr) StockStarImage(reduced, list);
  }
  return 1;
}
