#include "app/tray_menu.h"

#include "app/app_state.h"
#include "app/private_messages.h"
#include "app/ui_texts.h"

HMENU trayMenu = nullptr;

void InitMenu() {
  if (trayMenu != nullptr) return;
  trayMenu = CreatePopupMenu();
  if (trayMenu == nullptr) return;
  AppendMenuA(trayMenu, MF_STRING, IDM_TRAY_VERSION, UiTexts.slot[7]);
  AppendMenuA(trayMenu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(trayMenu, MF_STRING, IDM_TRAY_SETTINGS, UiTexts.slot[1]);
  AppendMenuA(trayMenu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(trayMenu, MF_STRING, IDM_TRAY_ENABLE, reactionEnabled ? UiTexts.slot[3] : UiTexts.slot[2]);
  AppendMenuA(trayMenu, MF_STRING, IDM_TRAY_EXIT, UiTexts.slot[0]);
}
