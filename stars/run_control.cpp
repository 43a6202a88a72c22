#include <windows.h>

#include "base/app_state.h"
#include "base/resource_ids.h"
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
  const char* folder = host.settings->imageFolder;
  if (folder[0] != '\0') {
    if (!PrepairStarImageByFolder(folder, &StarImageList, &report.folder)) {
      report.folderUnusable = 1;
    } else if (report.folder.failedFiles > 0) {
      report.someUnreadable = 1;
    }
  }
  if (StarImageList.Count() == 0 && !PrepairStarImage(IDR_STAR_ART, 72, 72, &StarImageList)) {
    report.noStarPicture = 1;
  }
  CreateStarList();
  reactionEnabled = 1;
  // The motion timer starts with the first star that moves.
  return report;
}

void StarField::StopPipwink() {
  reactionEnabled = 0;
  StopMotion();
  // The stars go first: their windows paint from the pictures' DCs, so no
  // window may outlive the pictures it shows.
  FreeStarList();
  ReleaseImageList(&StarImageList);
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
