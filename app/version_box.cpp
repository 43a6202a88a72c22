#include "app/version_box.h"

#include <new>
#include <utility>

#include "app/dialog_controls.h"
#include "base/dpi_scale.h"
#include "base/resource_ids.h"
#include "base/ui_texts.h"
#include "cells/private_messages.h"
#include "images/win32/alpha_bitmap.h"
#include "images/win32/artwork.h"
#include "stars/win32/pupil_window.h"

namespace {
constexpr int32_t kWidth = 310;
constexpr int32_t kHeight = 230;
}  // namespace

int VersionBox::ViewAboutBox(HWND owner, HCURSOR cursor) {
  const int32_t width = Scaled(kWidth);
  const int32_t height = Scaled(kHeight);
  // The picture carries the line that says how to close it: one per language.
  const int art = UiTextLanguage == UI_ENGLISH ? IDR_VERSION_EN_ART : IDR_VERSION_ART;
  UniqueBitmap source = PrepairAlphaBitmapFromResource(art, kWidth, kHeight);
  if (source && (width != kWidth || height != kHeight)) {
    source = GetResizedBitmap(width, height, kWidth, kHeight, AlphaBitmapBits(source.Get()));
  }
  if (!versionPicture_.picture.Adopt(std::move(source))) return 0;
  versionPicture_.frameWidth = width;
  versionPicture_.frameHeight = height;
  versionPicture_.frameCount = 1;
  versionPicture_.framesSideBySide = 1;

  versionBox_.reset(new (std::nothrow) PupilWindow());
  PupilWindow* window = versionBox_.get();
  if (window == nullptr || !window->Create(owner, cursor)) {
    DestroyAboutBox();
    return 0;
  }
  window->SetMenuTexts(&UiTexts);
  window->MarkGrabbed();  // pressing it never reports a grab
  window->DisableMenu();
  window->SetFrames(1, 1);
  window->ReportReleaseWith(PWM_ABOUT_CLOSED);
  window->SetImage(versionPicture_.DC(), width, height);
  SetCenterWindow(window->Handle());
  window->ShowTopmost();
  return 1;
}

void VersionBox::DestroyAboutBox() {
  if (versionBox_ != nullptr) versionBox_->Hide();
  versionBox_.reset();  // the window closes with its owner
  versionPicture_.picture.Reset();
}

HWND VersionBox::Window() const {
  return versionBox_ != nullptr ? versionBox_->Handle() : nullptr;
}
