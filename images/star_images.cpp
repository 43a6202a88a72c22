#include "images/star_images.h"

#include <windows.h>

#include <cstdio>
#include <utility>
#include <new>

#include "base/dpi_scale.h"
#include "base/owned_handles.h"
#include "base/resource_ids.h"
#include "images/alpha_bitmap.h"
#include "images/artwork.h"
#include "images/star_image_rules.h"

namespace {

bool SystemLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != 0; }

struct FindTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Free(HANDLE search) { FindClose(search); }
};
using UniqueFind = Owned<HANDLE, FindTraits>;

// The search for the folder's *.png files, its first entry in *entry; holds
// nothing when there is none or the pattern does not fit.
UniqueFind FindPictures(const char* folder, WIN32_FIND_DATAA* entry) {
  char pattern[kFolderPathSize];
  int length = std::snprintf(pattern, sizeof pattern, "%s\\*.png", folder);
  if (length < 0 || length >= static_cast<int>(sizeof pattern)) return UniqueFind();
  return UniqueFind(FindFirstFileA(pattern, entry));
}

}  // namespace

int SearchSubString(const char* text, const char* pattern) {
  return SearchSubString(text, pattern, SystemLeadByte);
}

int PrepairStarImageByFile(const char* path, ImageList<ImageSet>* list, const StopSignal* stop) {
  if (path == nullptr || path[0] == '\0') return 0;
  UniqueBitmap bitmap = PrepairStarBitmap(path, SearchSubString(path, "_fix") >= 0, stop);
  if (!bitmap) return 0;

  ImageSet* set = StockStarImage(std::move(bitmap), list);
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

int PrepairStarImageByFolder(const char* folder, ImageList<ImageSet>* list, FolderScanReport* report,
                             const StopSignal* stop) {
  FolderScanReport scan{};
  std::snprintf(scan.folder, sizeof scan.folder, "%s", folder);
  DWORD attributes = GetFileAttributesA(folder);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    scan.folderMissing = 1;
  } else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    scan.folderIsFile = 1;
  } else {
    WIN32_FIND_DATAA entry;
    UniqueFind search = FindPictures(folder, &entry);
    if (search) {
      do {
        // A folder named like a picture holds no picture of its own.
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        char path[kFolderPathSize];
        int length = std::snprintf(path, sizeof path, "%s\\%s", folder, entry.cFileName);
        bool fits = length >= 0 && length < static_cast<int>(sizeof path);
        bool loaded = fits && PrepairStarImageByFile(path, list, stop);
        if (stop != nullptr && stop->load()) break;
        if (!loaded) NoteFailedFile(&scan, entry.cFileName);
      } while (FindNextFileA(search.Get(), &entry));
    }
  }
  if (report != nullptr) *report = scan;
  return list->Count() > 0 ? 1 : 0;
}

namespace {

// The star shown width x height (then 48 and 32), each at the process's
// scale, made from a source of sourceWidth x sourceHeight; the size that is
// the source's own (the full one unscaled, 48 at 150 %) is the source itself.
int StockBuiltInSizes(int resourceId, int32_t sourceWidth, int32_t sourceHeight, int32_t width, int32_t height,
                      ImageList<ImageSet>* list) {
  UniqueBitmap source = PrepairAlphaBitmapFromResource(resourceId, sourceWidth, sourceHeight);
  if (!source) return 0;
  const int32_t sides[] = {Scaled(width), Scaled(48), Scaled(32)};
  const int32_t tall[] = {Scaled(height), Scaled(48), Scaled(32)};
  UniqueBitmap made[3];
  int own = -1;
  for (int k = 0; k < 3; ++k) {
    if (sides[k] == sourceWidth && tall[k] == sourceHeight) {
      own = k;
    } else {
      made[k] = GetResizedBitmap(sides[k], tall[k], sourceWidth, sourceHeight, AlphaBitmapBits(source.Get()));
    }
  }
  if (own >= 0) made[own] = std::move(source);
  if (!made[0]) return 0;
  if (StockStarImage(std::move(made[0]), list) == nullptr) return 1;
  for (int k = 1; k < 3; ++k) {
    if (made[k]) StockStarImage(std::move(made[k]), list);
  }
  return 1;
}

}  // namespace

int PrepairStarImage(int resourceId, int32_t width, int32_t height, ImageList<ImageSet>* list) {
  return StockBuiltInSizes(resourceId, width, height, width, height, list);
}

int PrepairStarImageFrom(int resourceId, int32_t sourceSide, int32_t side, ImageList<ImageSet>* list) {
  return StockBuiltInSizes(resourceId, sourceSide, sourceSide, side, side, list);
}

int PrepairBuiltInStar(ImageList<ImageSet>* list) {
  if (Scaled(72) <= 72) return PrepairStarImage(IDR_STAR_ART, 72, 72, list);
  return PrepairStarImageFrom(IDR_STAR_LARGE_ART, 144, 72, list);
}
