#include "images/win32/star_images.h"

#include <utility>

#include "base/dpi_scale.h"
#include "images/artwork_payload.h"
#include "images/picture_files.h"
#include "images/star_image_rules.h"
#include "images/win32/win32_sources.h"

namespace {

// Moves every picture of made into list as an ImageSet, bitmap made now.
void StockAll(ImageList<Picture>* made, ImageList<ImageSet>* list) {
  while (made->Count() > 0) StockPicture(PicturePtr(made->Remove(0)), list);
}

}  // namespace

int SearchSubString(const char* text, const char* pattern) {
  return SearchSubString(text, pattern, PngFilesOfFolders().LeadBytes());
}

int PrepairStarImageByFile(const char* path, ImageList<ImageSet>* list, const StopSignal* stop) {
  return StockPicture(PictureFromFile(path, PngFilesOfFolders().LeadBytes(), stop), list) != nullptr ? 1 : 0;
}

int PrepairStarImageByFolder(const char* folder, ImageList<ImageSet>* list, FolderScanReport* report,
                             const StopSignal* stop) {
  ImageList<Picture> made;
  ScanPictureFolder(folder, PngFilesOfFolders(), &made, report, stop);
  StockAll(&made, list);
  return list->Count() > 0 ? 1 : 0;
}

int PrepairStarImage(int resourceId, int32_t width, int32_t height, ImageList<ImageSet>* list) {
  ImageList<Picture> made;
  int got = StarPicturesFrom(FindBitArray(resourceId), width, height, width, height, ProcessDpi(), &made);
  StockAll(&made, list);
  return got;
}

int PrepairStarImageFrom(int resourceId, int32_t sourceSide, int32_t side, ImageList<ImageSet>* list) {
  ImageList<Picture> made;
  int got = StarPicturesFrom(FindBitArray(resourceId), sourceSide, sourceSide, side, side, ProcessDpi(), &made);
  StockAll(&made, list);
  return got;
}

int PrepairBuiltInStar(ImageList<ImageSet>* list) {
  ImageList<Picture> made;
  int got = BuiltInStarPictures(ProgramArtwork(), ProcessDpi(), &made);
  StockAll(&made, list);
  return got;
}
