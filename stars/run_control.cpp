#include "stars/run_control.h"

#include <windows.h>

#include "base/app_state.h"
#include "base/resource_ids.h"
#include "base/settings.h"
#include "images/artwork.h"
#include "images/star_images.h"
#include "stars/motion_rules.h"
#include "stars/pupil_window.h"
#include "stars/star_field.h"

namespace {

void TrimWorkingSet() {
  SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
}

// Shows or hides the window of every grabbed star.
void ShowGrabbedStars(bool show) {
  if (starListHead == nullptr) return;
  for (Star* star = starListHead->next; star != starListTail; star = star->next) {
    PupilWindow* window = star->window;
    if (window == nullptr || !window->grabbed) continue;
    if (show) {
      window->ShowTopmost();
    } else {
      window->Hide();
    }
  }
}

}  // namespace

StartReport StartPipwink() {
  StartReport report{};
  PrepairNumImage();
  PrepairPoofImage();
  if (Settings.imageFolder[0] != '\0') {
    int failedFiles = 0;
    if (!PrepairStarImageByFolder(Settings.imageFolder, &StarImageList, &failedFiles)) {
      report.folderUnusable = 1;
    } else if (failedFiles > 0) {
      report.someUnreadable = 1;
    }
  }
  if (StarImageList.Count() == 0 && !PrepairStarImage(IDR_STAR_ART, 72, 72)) report.noStarPicture = 1;
  CreateStarList();
  reactionEnabled = 1;
  SetTimer(mainWindow, STAR_TIMER_ID, STAR_TIMER_INTERVAL, nullptr);
  return report;
}

void StopPipwink() {
  reactionEnabled = 0;
  KillTimer(mainWindow, STAR_TIMER_ID);
  // The stars go first: their windows paint from the pictures' DCs, so no
  // window may outlive the pictures it shows.
  FreeStarList();
  ReleaseImageList(&StarImageList);
  ReleaseNumImage();
  ReleasePoofImage();
  TrimWorkingSet();
}

StartReport RestartPipwink() {
  StopPipwink();
  return StartPipwink();
}

void EnablePipwink() {
  ShowGrabbedStars(true);
  reactionEnabled = 1;
}

void DisablePipwink() {
  ShowGrabbedStars(false);
  reactionEnabled = 0;
}
