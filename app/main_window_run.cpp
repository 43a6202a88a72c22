// The main window's handlers of the star field's start and of the settings:
// what a start or a folder load found is told, and a chosen setting is saved
// and applied here, on the main thread alone.
#include <cwchar>

#include "app/hotkey_rules.h"
#include "app/main_window.h"
#include "app/message_out.h"
#include "app/picture_messages.h"
#include "base/display_dpi.h"
#include "base/dpi_scale.h"
#include "base/app_state.h"
#include "base/ui_texts.h"

// Tells the user what the star field's start, or the load of its picture
// folder when that ends, found, naming the folder the pictures were loaded
// from; a start without any star picture ends the program. The user may
// choose exit from the tray while a box shows: the window is then gone, and
// nothing more is told.
void MainWindow::TellStartReport(const StartReport& report, bool held) {
  if ((report.someUnreadable || report.folderUnusable) && IsWindow(window_)) {
    wchar_t text[kFolderMessageSize];
    const int gotPictures = !report.folderUnusable;
    if (held ? ComposeHeldFolderMessage(text, kFolderMessageSize, UiTexts, report.folder, gotPictures, AnsiPathToWide)
             : ComposeFolderMessage(text, kFolderMessageSize, UiTexts, report.folder, gotPictures, 1, AnsiPathToWide)) {
      MessageOut(window_, text);
    }
  }
  if (report.noStarPicture && IsWindow(window_)) {
    MessageOut(window_, UiTexts.slot[TEXT_START_FAILED]);
    PostMessageA(window_, WM_CLOSE, 0, 0);
  }
}

// A HOTKEY text the loading refused (the default took its place) is told
// once, with the reason; the file keeps what the user wrote.
void MainWindow::TellRefusedHotkey() {
  char written[kHotkeyTextSize + 1] = {};
  store_.GetPps("HOTKEY", written, sizeof written);
  Hotkey unused;
  const unsigned reasonId = HotkeyReasonTextId(ParseHotkey(written, &unused));
  if (reasonId == 0) return;
  wchar_t format[kTextSize] = {}, reason[kTextSize] = {}, shown[kHotkeyTextSize + 1] = {}, standard[kHotkeyTextSize] = {};
  if (!LoadTextInUiLanguage(IDS_HOTKEY_REFUSED, format, kTextSize)) return;
  LoadTextInUiLanguage(reasonId, reason, kTextSize);
  MultiByteToWideChar(CP_ACP, 0, written, -1, shown, kHotkeyTextSize + 1);
  MultiByteToWideChar(CP_ACP, 0, kDefaultHotkey, -1, standard, kHotkeyTextSize);
  wchar_t text[kTextSize * 3] = {};
  std::swprintf(text, kTextSize * 3, format, shown, reason, standard);
  MessageOut(window_, text);
}

// The pause hotkey, once the star field runs: registered before anything is
// told, so it works while a box shows. A combination another program holds
// (a driver may hold it at every start) is told once per combination, and
// the program goes on without it.
void MainWindow::RegisterHotkeyOrTell() {
  const SettingsRecord& settings = store_.Current();
  const bool taken = hotkey_.Register(window_, settings.hotkey) == PAUSE_HOTKEY_TAKEN;
  TellRefusedHotkey();
  if (!IsWindow(window_) || !taken) return;  // exit was chosen while the box showed
  if (!takenHotkeyNote_.FirstTime(store_.IniPath(), settings.hotkey)) return;
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
  // told when they come (PWM_PICTURES_LOADED). The pictures are made at the
  // scale of the densest monitor there is now.
  SetProcessDpi(LargestDisplayDpi());
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
  if (!field_ || !field_->TakeLoadedPictures(serial, &report)) return 0;
  // A load can end while a game runs full screen: its report waits (the
  // latest one only) and is told once the game has left.
  const bool tells = report.someUnreadable || report.folderUnusable || report.noStarPicture;
  if (tells && fullScreen_.InFront(GetTickCount())) {
    heldReport_ = report;
    SetTimer(window_, kHeldReportTimerId, kHeldReportLookMs, nullptr);
    return 0;
  }
  TellStartReport(report);
  return 0;
}

LRESULT MainWindow::OnHeldReportLook() {
  if (heldReport_ && fullScreen_.InFront(GetTickCount())) return 0;
  KillTimer(window_, kHeldReportTimerId);
  if (!heldReport_) return 0;
  const StartReport report = *heldReport_;
  heldReport_.reset();
  TellStartReport(report, true);
  return 0;
}

LRESULT MainWindow::OnSettingsChosen() {
  SettingsRecord chosen{};
  if (session_ == nullptr || !session_->TakeChoice(&chosen)) return 0;
  return TakeChosenSettings(chosen);
}

int MainWindow::TakeChosenSettings(const SettingsRecord& chosen) {
  const int32_t language = store_.Current().language;
  const int changed = store_.TakeChosenSettings(chosen);
  if (changed == 0) return 0;
  if (store_.Current().language != language) ApplyLanguage();
  store_.TellUnsavedSettings(window_);
  // A new folder: the star field starts again from it. The user may have
  // chosen exit while the box above showed; the field is then gone.
  if (changed == 2 && field_) {
    SetProcessDpi(LargestDisplayDpi());
    StartReport report = field_->RestartPipwink();
    // The new star field reacts, whatever the old one did; the tip says so.
    tray_.Modify(kTrayIconArt, Tip());
    TellStartReport(report);
  }
  return changed;
}
