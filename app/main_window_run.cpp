// The main window's handlers of the star field's start and of the settings:
// what a start or a folder load found is told, and a chosen setting is saved
// and applied here, on the main thread alone.
#include <cwchar>

#include "app/main_window.h"
#include "app/message_out.h"
#include "app/picture_messages.h"
#include "base/ui_texts.h"

// Tells the user what the star field's start, or the load of its picture
// folder when that ends, found, naming the folder the pictures were loaded
// from; a start without any star picture ends the program. The user may
// choose exit from the tray while a box shows: the window is then gone, and
// nothing more is told.
void MainWindow::TellStartReport(const StartReport& report) {
  if ((report.someUnreadable || report.folderUnusable) && IsWindow(window_)) {
    wchar_t text[kFolderMessageSize];
    if (ComposeFolderMessage(text, kFolderMessageSize, UiTexts, report.folder, !report.folderUnusable, 1,
                             AnsiPathToWide)) {
      MessageOut(window_, text);
    }
  }
  if (report.noStarPicture && IsWindow(window_)) {
    MessageOut(window_, UiTexts.slot[TEXT_START_FAILED]);
    PostMessageA(window_, WM_CLOSE, 0, 0);
  }
}

// The pause hotkey, once the star field runs; a combination another program
// holds is reported once, and the program goes on without it.
void MainWindow::RegisterHotkeyOrTell() {
  const SettingsRecord& settings = store_.Current();
  if (hotkey_.Register(window_, settings.hotkey) != PAUSE_HOTKEY_TAKEN) return;
  wchar_t hotkey[kHotkeyTextSize] = {};
  MultiByteToWideChar(CP_ACP, 0, settings.hotkey, -1, hotkey, kHotkeyTextSize);
  hotkey[kHotkeyTextSize - 1] = L'\0';
  wchar_t text[kTextSize * 2] = {};
  std::swprintf(text, kTextSize * 2, UiTexts.slot[TEXT_HOTKEY_TAKEN], hotkey);
  MessageOut(window_, text);
}

// An entry of the list of programs left alone that can be no program name
// was left out as the settings loaded: the user learns which, once.
void MainWindow::TellDroppedExcludeEntry() {
  wchar_t entry[ProgramCells::kDroppedEntrySize];
  if (!cells_.TakeDroppedExcludeEntry(entry, ProgramCells::kDroppedEntrySize)) return;
  wchar_t text[kTextSize * 2] = {};
  std::swprintf(text, kTextSize * 2, UiTexts.slot[TEXT_EXCLUDE_DROPPED], entry);
  MessageOut(window_, text);
}

LRESULT MainWindow::OnStart() {
  if (!field_) return 0;
  // The folder's pictures load on a worker meanwhile; what they give is
  // told when they come (PWM_PICTURES_LOADED).
  StartReport report = field_->StartPipwink();
  tray_.Modify(kTrayIconArt, kTipEnabled);
  TellStartReport(report);
  if (!IsWindow(window_)) return 0;
  store_.TellUnsavedSettings(window_);  // the first start could not write its settings file
  TellDroppedExcludeEntry();
  RegisterHotkeyOrTell();
  return 0;
}

LRESULT MainWindow::OnPicturesLoaded(WPARAM serial) {
  // A load that a restart or stop has ended since is passed over.
  StartReport report{};
  if (field_ && field_->TakeLoadedPictures(serial, &report)) TellStartReport(report);
  return 0;
}

LRESULT MainWindow::OnSettingsChosen() {
  SettingsRecord chosen{};
  if (session_ == nullptr || !session_->TakeChoice(&chosen)) return 0;
  return TakeChosenSettings(chosen);
}

int MainWindow::TakeChosenSettings(const SettingsRecord& chosen) {
  const int changed = store_.TakeChosenSettings(chosen);
  if (changed == 0) return 0;
  store_.TellUnsavedSettings(window_);
  // A new folder: the star field starts again from it. The user may have
  // chosen exit while the box above showed; the field is then gone.
  if (changed == 2 && field_) {
    StartReport report = field_->RestartPipwink();
    // The new star field reacts, whatever the old one did; the tip says so.
    tray_.Modify(kTrayIconArt, Tip());
    TellStartReport(report);
  }
  return changed;
}
