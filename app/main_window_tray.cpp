// The main window's handlers of the tray icon, its menu and its commands.
#include "app/main_window.h"
#include "app/message_out.h"
#include "app/tray_menu.h"
#include "base/app_state.h"
#include "base/foreground_loan.h"
#include "base/ui_texts.h"
#include "cells/private_messages.h"

LRESULT MainWindow::OnTray(LPARAM mouseMessage) {
  switch (static_cast<UINT>(mouseMessage)) {
    case WM_RBUTTONUP:
      ShowTrayMenu();
      break;
    case WM_LBUTTONDOWN:
      if (SettingsDialogOpen()) SetForegroundWindow(SettingsDialog());
      break;
    default:
      break;
  }
  return 0;
}

void MainWindow::ShowTrayMenu() {
  if (trayMenu_) return;  // it is up already
  POINT cursor{};
  GetCursorPos(&cursor);
  // The registry is the record: what it says now is what the mark shows.
  trayMenu_ = InitMenu(UiTexts, Reacting(), signIn_.IsOn());
  if (!trayMenu_) return;
  TrackMenuOnLoan(trayMenu_.Get(), TPM_BOTTOMALIGN | TPM_RIGHTALIGN | TPM_RIGHTBUTTON, cursor, window_);
  trayMenu_.Reset();
}

LRESULT MainWindow::OnCommand(WPARAM command) {
  switch (LOWORD(command)) {
    case IDM_TRAY_EXIT:
      SendMessageA(window_, WM_CLOSE, 0, 0);
      break;
    case IDM_TRAY_ENABLE:
      OnToggleReaction();
      break;
    case IDM_TRAY_VERSION:
      OpenVersionBox();
      break;
    case IDM_TRAY_SETTINGS:
      OpenSettingsDialog();
      break;
    case IDM_TRAY_SIGN_IN:
      if (!signIn_.Set(!signIn_.IsOn())) MessageOut(window_, UiTexts.slot[TEXT_SIGN_IN_UNSAVED]);
      break;
    default:
      break;
  }
  return 0;
}

// A second start shows where this copy is: a balloon at its icon.
LRESULT MainWindow::OnAnotherStart() {
  tray_.ShowBalloon(UiTexts.slot[TEXT_ALREADY_RUNNING]);
  return 0;
}

void MainWindow::OnToggleReaction() {
  if (!field_) return;
  if (field_->Reacting()) {
    field_->DisablePipwink();
    tray_.Modify(kTrayIconArt, kTipDisabled);
    TrimWorkingSet();
  } else {
    field_->EnablePipwink();
    tray_.Modify(kTrayIconArt, kTipEnabled);
  }
}

// One box at a time; a box that could not be built leaves nothing open, so
// the command works again.
void MainWindow::OpenVersionBox() {
  if (!versionBox_.IsOpen()) versionBox_.ViewAboutBox(window_, starCursor_);
}

// One dialog at a time, on a thread of its own, editing a copy of the
// settings. Without its thread the session closes again at once, or the
// stars would stand still for good.
void MainWindow::OpenSettingsDialog() {
  if (session_ == nullptr || !session_->Open(store_.Current(), store_.IniPath())) return;
  UniqueHandle thread = StartSettingDialog(session_);
  if (!thread) session_->Close();
}

LRESULT MainWindow::OnAboutClosed() {
  versionBox_.DestroyAboutBox();
  return 0;
}

LRESULT MainWindow::OnTaskbarCreated() {
  trayRetriesLeft_ = kTrayAddRetries;
  AddTrayIcon();
  return 0;
}

void MainWindow::AddTrayIcon() {
  if (tray_.Add(window_, kTrayIconArt, PWM_TRAY, field_ ? Tip() : kTipEnabled)) {
    KillTimer(window_, kTrayRetryTimerId);
    return;
  }
  // Without its icon the program could not even be ended: keep trying a while.
  if (trayRetriesLeft_-- > 0) {
    SetTimer(window_, kTrayRetryTimerId, kTrayAddRetryMs, nullptr);
  } else {
    KillTimer(window_, kTrayRetryTimerId);
  }
}

LRESULT MainWindow::OnTrayRetry() {
  AddTrayIcon();
  return 0;
}
