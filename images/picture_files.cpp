#include "images/picture_files.h"

#include <cstdio>
#include <new>

#include "images/star_image_rules.h"

bool NoLeadByte(unsigned char) { return false; }

namespace {

// Pixel memory of a new picture, made once the file's size is known.
class PictureTarget final : public PixelTarget {
 public:
  uint32_t* Allocate(int32_t width, int32_t height) override {
    if (picture) return nullptr;
    picture = MakePicture(width, height);
    return picture ? picture->pixels.get() : nullptr;
  }
  PicturePtr picture;
};

class FolderPictures final : public PngFileVisitor {
 public:
  FolderPictures(const char* folder, const PngLister& lister, ImageList<Picture>* list, FolderScanReport* scan,
                 const StopSignal* stop)
      : folder_(folder), lister_(lister), list_(list), scan_(scan), stop_(stop) {}

  bool File(const char* name) override {
    if (list_->Count() >= kMaxFolderPictures) {
      scan_->picturesLeftOut = 1;
      return false;
    }
    char path[kFolderPathSize];
    int length = std::snprintf(path, sizeof path, "%s%c%s", folder_, lister_.Separator(), name);
    bool fits = length >= 0 && length < static_cast<int>(sizeof path);
    PicturePtr picture = fits ? PictureFromFile(path, lister_.LeadBytes(), stop_) : nullptr;
    if (stop_ != nullptr && stop_->load()) return false;
    if (picture && list_->Append(picture.get())) {
      picture.release();
    } else {
      NoteFailedFile(scan_, name);
    }
    return true;
  }

 private:
  const char* folder_;
  const PngLister& lister_;
  ImageList<Picture>* list_;
  FolderScanReport* scan_;
  const StopSignal* stop_;
};

}  // namespace

PicturePtr PictureFromFile(const char* path, LeadByteRule leadBytes, const StopSignal* stop) {
  if (path == nullptr || path[0] == '\0') return nullptr;
  PictureTarget target;
  int32_t width = 0, height = 0;
  if (!LoadStarPixels(path, SearchSubString(path, "_fix", leadBytes) >= 0, &target, &width, &height, nullptr,
                      stop)) {
    return nullptr;
  }
  PicturePtr picture = std::move(target.picture);
  if (SearchSubString(path, "_anm", leadBytes) >= 0) {
    FrameLayout layout = StripLayout(picture->width, picture->height);
    if (layout.frameCount > 1) picture->frames = layout;
  }
  return picture;
}

int ScanPictureFolder(const char* folder, const PngLister& lister, ImageList<Picture>* list,
                      FolderScanReport* report, const StopSignal* stop) {
  FolderScanReport scan{};
  std::snprintf(scan.folder, sizeof scan.folder, "%s", folder);
  FolderPictures pictures(folder, lister, list, &scan, stop);
  switch (lister.ListPngFiles(folder, &pictures)) {
    case FolderState::kMissing:
      scan.folderMissing = 1;
      break;
    case FolderState::kIsFile:
      scan.folderIsFile = 1;
      break;
    case FolderState::kPresent:
      break;
  }
  if (report != nullptr) *report = scan;
  return list->Count() > 0 ? 1 : 0;
}

void ReleasePictures(ImageList<Picture>* list) {
  while (list->Count() > 0) delete list->Remove(list->Count() - 1);
}
