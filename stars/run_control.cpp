#include <windows.h>

#include "base/app_state.h"
#include "cells/private_messages.h"
#include "images/star_images.h"
#include "stars/star_field.h"

StarField::StarField(const StarFieldHost& host)
    : host_(host, &StarImageList, &artwork), pool_(host_, ticker_, host.settings) {}

StarField::~StarField() { StopPipwink(); }

void StarField::SetReacting(bool on) { reacting_ = on; }

StartReport StarField::StartPipwink() {
  StartReport report{};
  artwork.PrepairNumImage();
  artwork.PrepairPoofImage();
  // The built-in star shows at once, also while the folder's pictures load.
  PrepairBuiltInStar(&StarImageList);
  pool_.firstDrawnImage = 0;
  pool_.CreateStarList();
  SetReacting(true);
  // The motion timer starts with the first star that moves.
  const char* folder = Host().settings->imageFolder;
  if (folder[0] == '\0') {
    if (StarImageList.Count() == 0) report.noStarPicture = 1;
    return report;
  }
  if (Host().owner != nullptr && folderLoad_.Begin(folder, Host().owner, PWM_PICTURES_LOADED, ++loadSerial_)) {
    report.picturesPending = 1;
    return report;
  }
  // No worker: the folder loads here, as the watchdog knows.
  FolderScanReport scan{};
  const int32_t standIns = StarImageList.Count();
  {
    PictureLoading loading;
    PrepairStarImageByFolder(folder, &StarImageList, &scan);
  }
  return UseFolderPictures(standIns, scan);
}

int StarField::TakeLoadedPictures(WPARAM serial, StartReport* report) {
  if (!folderLoad_.Pending() || folderLoad_.Serial() != serial || pool_.starListHead == nullptr) return 0;
  FolderScanReport scan{};
  const int32_t standIns = StarImageList.Count();
  folderLoad_.Take(&StarImageList, &scan);
  StartReport found = UseFolderPictures(standIns, scan);
  if (report != nullptr) *report = found;
  return 1;
}

StartReport StarField::UseFolderPictures(int32_t standIns, const FolderScanReport& scan) {
  StartReport report{};
  report.folder = scan;
  if (StarImageList.Count() == standIns) {
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
    for (int32_t k = 0; k < standIns; ++k) delete StarImageList.Remove(0);
    pool_.firstDrawnImage = 0;
  }
  return report;
}

void StarField::StopPipwink() {
  SetReacting(false);
  ticker_.Stop();
  folderLoad_.Cancel();
  // The stars go first: their windows paint from the pictures' DCs, so no
  // window may outlive the pictures it shows.
  pool_.FreeStarList();
  ReleaseImageList(&StarImageList);
  pool_.firstDrawnImage = 0;
  artwork.ReleaseNumImage();
  artwork.ReleasePoofImage();
  TrimWorkingSet();
}

StartReport StarField::RestartPipwink() {
  StopPipwink();
  return StartPipwink();
}

void StarField::EnablePipwink() {
  pool_.ShowGrabbedStars(true);
  SetReacting(true);
}

void StarField::DisablePipwink() {
  pool_.ShowGrabbedStars(false);
  SetReacting(false);
}
