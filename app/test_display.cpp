#include "app/test_display.h"

#include <cstdio>
#include <new>

#include "app/message_out.h"
#include "app/picture_messages.h"
#include "base/app_state.h"
#include "base/dpi_scale.h"
#include "base/ui_texts.h"
#include "images/star_image_rules.h"
#include "images/win32/star_images.h"
#include "stars/win32/pupil_window.h"

int TestDisplay::LoadAndTell(const char* folder, HWND owner) {
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
  if (ComposeFolderMessage(text, kFolderMessageSize, UiTexts, scan, gotPictures, 0, AnsiPathToWide)) {
    MessageOut(owner, text);
  }
  return gotPictures;
}

int TestDisplay::LayOut(const TestDisplayHost& host, DisplaySpot* spots) {
  const int count = TestImageList.Count();
  int32_t* widths = new (std::nothrow) int32_t[count];
  if (widths == nullptr) return -1;
  for (int k = 0; k < count; ++k) widths[k] = TestImageList.Get(k)->frameWidth;
  RECT dialog{};
  if (host.dialog != nullptr) GetWindowRect(host.dialog, &dialog);
  int placed = LayOutTestDisplay(widths, count, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                 dialog.bottom, spots, ProcessDpi());
  delete[] widths;
  return placed;
}

bool TestDisplay::AddTestStar(int k, DisplaySpot spot, const TestDisplayHost& host) {
  ImageSet* set = TestImageList.Get(k);
  PupilWindow* window = new (std::nothrow) PupilWindow();
  if (window == nullptr) return false;
  window->Create(host.owner, host.cursor);
  window->SetMenuTexts(&UiTexts);
  window->DisableMenu();
  window->SetFrames(set->frameCount, set->framesSideBySide);
  window->SetImage(set->DC(), set->frameWidth, set->frameHeight);
  window->MoveTo(POINT{spot.x, spot.y});
  if (!TestStarList.Append(window)) {
    delete window;  // the window closes with its owner
    return false;
  }
  return true;
}

void TestDisplay::ViewImageListInFolder(const char* folder, const TestDisplayHost& host) {
  if (!LoadAndTell(folder, host.owner)) return;
  DisplaySpot* spots = new (std::nothrow) DisplaySpot[TestImageList.Count()];
  if (spots == nullptr) return;
  const int placed = LayOut(host, spots);
  for (int k = 0; k < placed; ++k) {
    if (!AddTestStar(k, spots[k], host)) break;
  }
  delete[] spots;
  if (placed < 0) return;

  for (int k = 0; k < TestStarList.Count(); ++k) {
    TestStarList.Get(k)->ShowTopmost();
  }
  if (TestStarList.Count() < TestImageList.Count()) MessageOut(host.owner, UiTexts.slot[TEXT_NO_DISPLAY_ROOM]);
}

void TestDisplay::CleanUpImageList() {
  ReleaseImageList(&TestImageList);
  while (TestStarList.Count() > 0) delete TestStarList.Remove(0);  // each window closes with its record
}
