#include "stars/star_field.h"

#include "images/picture_files.h"

StarField::StarField(FieldHost& host, PictureShelf& shelf, const SettingsRecord* settings)
    : host_(host), shelf_(shelf), settings_(settings), pool_(host_, ticker_, settings) {}

StarField::~StarField() { StopPipwink(); }

int32_t StarField::Shelve(ImageList<Picture>* list) {
  int32_t kept = 0;
  while (list->Count() > 0) {
    if (shelf_.Keep(PicturePtr(list->Remove(0)))) ++kept;
  }
  return kept;
}

StartReport StarField::StartPipwink() {
  StartReport report{};
  shelf_.PrepareArtwork();
  // The built-in star shows at once, also while the folder's pictures load.
  ImageList<Picture> builtIn;
  BuiltInStarPictures(shelf_.Payloads(), host_.Dpi(), &builtIn);
  Shelve(&builtIn);
  pool_.firstDrawnImage = 0;
  pool_.CreateStarList();
  reacting_ = true;
  // The motion timer starts with the first star that moves.
  const char* folder = settings_->imageFolder;
  if (folder[0] == '\0') {
    if (shelf_.Count() == 0) report.noStarPicture = 1;
    return report;
  }
  if (host_.HearsLoads() && folderLoad_.Begin(folder, shelf_.Lister(), &host_, ++loadSerial_)) {
    report.picturesPending = 1;
    return report;
  }
  // No worker: the folder loads here, as the watchdog knows.
  FolderScanReport scan{};
  const int32_t standIns = shelf_.Count();
  ImageList<Picture> found;
  {
    PictureLoading loading;
    ScanPictureFolder(folder, shelf_.Lister(), &found, &scan);
  }
  Shelve(&found);
  return UseFolderPictures(standIns, scan);
}

int StarField::TakeLoadedPictures(uintptr_t serial, StartReport* report) {
  if (!folderLoad_.Pending() || folderLoad_.Serial() != serial || pool_.starListHead == nullptr) return 0;
  FolderScanReport scan{};
  const int32_t standIns = shelf_.Count();
  ImageList<Picture> found;
  folderLoad_.Take(&found, &scan);
  Shelve(&found);
  StartReport given = UseFolderPictures(standIns, scan);
  if (report != nullptr) *report = given;
  return 1;
}

StartReport StarField::UseFolderPictures(int32_t standIns, const FolderScanReport& scan) {
  StartReport report{};
  report.folder = scan;
  if (shelf_.Count() == standIns) {
    report.folderUnusable = 1;
    if (standIns == 0) report.noStarPicture = 1;
    return report;
  }
  if (scan.failedFiles > 0) report.someUnreadable = 1;
  // Every star so far shows a stand-in. A flying or caught one keeps it: a
  // flying one finishes its flight and then goes (StarMotion), a caught one
  // stays. Resting ones go now, unseen. With no star left, the stand-in
  // pictures go too.
  bool kept = pool_.DropRestingStars();
  pool_.firstDrawnImage = standIns;
  if (!kept) {
    shelf_.DropFirst(standIns);
    pool_.firstDrawnImage = 0;
  }
  return report;
}

void StarField::StopPipwink() {
  reacting_ = false;
  ticker_.Stop();
  folderLoad_.Cancel();
  // The stars go first: their surfaces draw from the pictures, so no surface
  // may outlive the pictures it shows.
  pool_.FreeStarList();
  shelf_.DropAll();
  pool_.firstDrawnImage = 0;
  shelf_.ReleaseArtwork();
  host_.TrimMemory();
}

StartReport StarField::RestartPipwink() {
  StopPipwink();
  return StartPipwink();
}

void StarField::EnablePipwink() {
  pool_.ShowGrabbedStars(true);
  reacting_ = true;
}

void StarField::DisablePipwink() {
  pool_.ShowGrabbedStars(false);
  reacting_ = false;
}
