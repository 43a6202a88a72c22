#include <windows.h>

#include "base/app_state.h"
#include "base/resource_ids.h"
#include "cells/private_messages.h"
#include "images/star_images.h"
#include "stars/motion_rules.h"
#include "stars/pupil_window.h"
#include "stars/star_field.h"

namespace {

void TrimWorkingSet() {
  SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
}

}  // namespace

// Shows or hides the window of every grabbed star.
void StarField::ShowGrabbedStars(bool show) {
  if (starListHead == nullptr) return;
  for (Star* star = starListHead->next; star != starListTail; star = star->next) {
    PupilWindow* window = star->window;
    if (window == nullptr || !window->IsGrabbed()) continue;
    if (show) {
      window->ShowTopmost();
    } else {
      window->Hide();
    }
  }
}

StartReport StarField::StartPipwink() {
  StartReport report{};
  artwork.PrepairNumImage();
  artwork.PrepairPoofImage();
  // The built-in star shows at once, also while the folder's pictures load.
  PrepairStarImage(IDR_STAR_ART, 72, 72, &StarImageList);
  firstDrawnImage = 0;
  CreateStarList();
  reactionEnabled = 1;
  // The motion timer starts with the first star that moves.
  const char* folder = host.settings->imageFolder;
  if (folder[0] == '\0') {
    if (StarImageList.Count() == 0) report.noStarPicture = 1;
    return report;
  }
  if (host.owner != nullptr && folderLoad.Begin(folder, host.owner, PWM_PICTURES_LOADED, ++loadSerial)) {
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
  if (!folderLoad.Pending() || folderLoad.Serial() != serial || starListHead == nullptr) return 0;
  FolderScanReport scan{};
  const int32_t standIns = StarImageList.Count();
  folderLoad.Take(&StarImageList, &scan);
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
  // flying one finishes its flight and then goes (StepStar), a caught one
  // stays. Resting ones go now, unseen. With no star left, the stand-in
  // pictures go too.
  bool kept = false;
  Star* star = starListHead != nullptr ? starListHead->next : nullptr;
  while (star != nullptr && star != starListTail) {
    Star* next = star->next;
    if (star->inUse) {
      kept = true;
    } else {
      DestroyStar(star);
    }
    star = next;
  }
  firstDrawnImage = standIns;
  if (!kept) {
    for (int32_t k = 0; k < standIns; ++k) delete StarImageList.Remove(0);
    firstDrawnImage = 0;
  }
  return report;
}

void StarField::StopPipwink() {
  reactionEnabled = 0;
  StopMotion();
  folderLoad.Cancel();
  // The stars go first: their windows paint from the pictures' DCs, so no
  // window may outlive the pictures it shows.
  FreeStarList();
  ReleaseImageList(&StarImageList);
  firstDrawnImage = 0;
  artwork.ReleaseNumImage();
  artwork.ReleasePoofImage();
  TrimWorkingSet();
}

StartReport StarField::RestartPipwink() {
  StopPipwink();
  return StartPipwink();
}

void StarField::EnablePipwink() {
  ShowGrabbedStars(true);
  reactionEnabled = 1;
}

void StarField::DisablePipwink() {
  ShowGrabbedStars(false);
  reactionEnabled = 0;
}
