#include "app/version_box.h"

#include <windows.h>

#include <new>

#include "app/dialog_controls.h"
#include "base/app_state.h"
#include "base/resource_ids.h"
#include "base/ui_texts.h"
#include "cells/private_messages.h"
#include "images/artwork.h"
#include "stars/pupil_window.h"

ImageSet versionPicture;
std::unique_ptr<PupilWindow> versionBox;

namespace {
constexpr int kVersionArt = IDR_VERSION_ART;
constexpr int32_t kWidth = 310;
constexpr int32_t kHeight = 230;
}  // namespace

int ViewAboutBox() {
  HBITMAP bitmap = PrepairAlphaBitmapFromResource(kVersionArt, kWidth, kHeight);
  if (bitmap == nullptr) return 0;

  if (!versionPicture.picture.Adopt(bitmap)) return 0;
  versionPicture.frameWidth = kWidth;
  versionPicture.frameHeight = kHeight;
  versionPicture.frameCount = 1;
  versionPicture.framesSideBySide = 1;

  versionBox.reset(new (std::nothrow) PupilWindow());
  PupilWindow* window = versionBox.get();
  if (window == nullptr || !window->Create(mainWindow, starCursor)) {
    DestroyAboutBox();
    return 0;
  }
  window->SetMenuTexts(&UiTexts);
  window->MarkGrabbed();  // pressing it never reports a grab
  window->DisableMenu();
  window->SetFrames(1, 1);
  window->ReportReleaseWith(PWM_ABOUT_CLOSED);
  window->SetImage(versionPicture.DC(), kWidth, kHeight);
  SetCenterWindow(window->Handle());
  window->ShowTopmost();
  return 1;
}

void DestroyAboutBox() {
  if (versionBox != nullptr) versionBox->Hide();
  versionBox.reset();
  versionPicture.picture.Reset();
}
