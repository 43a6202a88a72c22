#include "app/test_display.h"

#include <windows.h>

#include <cstdio>
#include <new>

#include "app/message_out.h"
#include "app/picture_messages.h"
#include "base/app_state.h"
#include "base/ui_texts.h"
#include "images/star_image_rules.h"
#include "images/star_images.h"
#include "stars/pupil_window.h"

ImageList<ImageSet> TestImageList;
ImageList<PupilWindow> TestStarList;

void ViewImageListInFolder(const char* folder) {
  char copy[kFolderPathSize];
  std::snprintf(copy, sizeof copy, "%s", folder);
  FolderScanReport scan{};
  int gotPictures = 0;
  {
    PictureLoading loading;  // the watchdog skips samples taken meanwhile
    gotPictures = PrepairStarImageByFolder(copy, &TestImageList, &scan);
  }
  // Also when nothing can be shown: a display that stays empty must say why.
  wchar_t text[kFolderMessageSize];
  if (ComposeFolderMessage(text, kFolderMessageSize, UiTexts, copy, scan, gotPictures, 0, AnsiPathToWide)) {
    MessageOut(text);
  }
  if (!gotPictures) return;

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
    PupilWindow* window = new (std::nothrow) PupilWindow();
    if (window == nullptr) break;
    window->Create(mainWindow, starCursor);
    window->SetMenuTexts(&UiTexts);
    window->DisableMenu();
    window->SetFrames(set->frameCount, set->framesSideBySide);
    window->SetImage(set->DC(), set->frameWidth, set->frameHeight);
    window->MoveTo(POINT{spots[k].x, spots[k].y});
    if (!TestStarList.Append(window)) {
      delete window;
      break;
    }
  }
  delete[] widths;
  delete[] spots;

  for (int k = 0; k < TestStarList.Count(); ++k) {
    TestStarList.Get(k)->ShowTopmost();
  }
  if (TestStarList.Count() < TestImageList.Count()) MessageOut(UiTexts.slot[TEXT_NO_DISPLAY_ROOM]);
}

void CleanUpImageList() {
  ReleaseImageList(&TestImageList);
  while (TestStarList.Count() > 0) delete TestStarList.Remove(0);
}
