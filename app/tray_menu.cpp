#include "app/tray_menu.h"

#include "base/app_state.h"
#include "base/ui_texts.h"
#include "cells/private_messages.h"

HMENU trayMenu = nullptr;

void InitMenu() {
  if (trayMenu != nullptr) return;
  trayMenu = CreatePopupMenu();
  if (trayMenu == nullptr) return;
  AppendMenuW(trayMenu, MF_STRING, IDM_TRAY_VERSION, UiTexts.slot[TEXT_VERSION]);
  AppendMenuW(trayMenu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(trayMenu, MF_STRING, IDM_TRAY_SETTINGS, UiTexts.slot[TEXT_SETTINGS]);
  AppendMenuW(trayMenu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(trayMenu, MF_STRING, IDM_TRAY_ENABLE, reactionEnabled ? UiTexts.slot[TEXT_DISABLE] : UiTexts.slot[TEXT_ENABLE]);
  AppendMenuW(trayMenu, MF_STRING, IDM_TRAY_EXIT, UiTexts.slot[TEXT_EXIT]);
}
