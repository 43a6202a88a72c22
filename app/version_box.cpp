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

ImageSet versionPicture{};
Star* versionBox = nullptr;

namespace {
constexpr int kVersionArt = IDR_VERSION_ART;
constexpr int32_t kWidth = 310;
constexpr int32_t kHeight = 230;
}  // namespace

int ViewAboutBox() {
  HBITMAP bitmap = PrepairAlphaBitmapFromResource(kVersionArt, kWidth, kHeight);
  if (bitmap == nullptr) return 0;

  HDC screen = GetDC(mainWindow);
  versionPicture.dc = CreateCompatibleDC(screen);
  ReleaseDC(mainWindow, screen);
  versionPicture.bitmap = bitmap;
  versionPicture.oldBitmap = SelectObject(versionPicture.dc, bitmap);
  versionPicture.frameWidth = kWidth;
  versionPicture.frameHeight = kHeight;
  versionPicture.frameCount = 1;
  versionPicture.framesSideBySide = 1;

  Star* box = new (std::nothrow) Star{};
  if (box == nullptr) {
    DestroyAboutBox();
    return 0;
  }
  box->inUse = 1;
  box->count = 1;
  box->window = new (std::nothrow) PupilWindow();
  versionBox = box;
  PupilWindow* window = box->window;
  if (window == nullptr || !window->Create(mainWindow, starCursor)) {
    DestroyAboutBox();
    return 0;
  }
  window->SetMenuTexts(&UiTexts);
  window->grabbed = 1;  // pressing it never reports a grab
  window->menuEnabled = 0;
  window->frameCount = 1;
  window->framesSideBySide = 1;
  window->frameIndex = 0;
  window->releaseMessage = PWM_ABOUT_CLOSED;
  window->SetImage(versionPicture.dc, kWidth, kHeight);
  SetCenterWindow(window->hwnd);
  window->ShowTopmost();
  return 1;
}

void DestroyAboutBox() {
  if (versionBox != nullptr) {
    if (PupilWindow* window = versionBox->window) {
      window->Hide();
      window->PostClose();
      delete window;
    }
    delete versionBox;
  }
  versionBox = nullptr;
  if (versionPicture.dc != nullptr) {
    SelectObject(versionPicture.dc, versionPicture.oldBitmap);
    DeleteObject(versionPicture.bitmap);
    DeleteDC(versionPicture.dc);
  }
  versionPicture = ImageSet{};
}
