#include "app/tray_menu.h"

#include "cells/private_messages.h"

UniqueMenu InitMenu(const UiTextBlock& texts, bool reacting, bool startsAtSignIn) {
  UniqueMenu menu(CreatePopupMenu());
  if (!menu) return menu;
  AppendMenuW(menu.Get(), MF_STRING, IDM_TRAY_VERSION, texts.slot[TEXT_VERSION]);
  AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu.Get(), MF_STRING, IDM_TRAY_SETTINGS, texts.slot[TEXT_SETTINGS]);
  AppendMenuW(menu.Get(), MF_STRING | (startsAtSignIn ? MF_CHECKED : MF_UNCHECKED), IDM_TRAY_SIGN_IN,
              texts.slot[TEXT_START_AT_SIGN_IN]);
  AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu.Get(), MF_STRING, IDM_TRAY_ENABLE, reacting ? texts.slot[TEXT_DISABLE] : texts.slot[TEXT_ENABLE]);
  AppendMenuW(menu.Get(), MF_STRING, IDM_TRAY_EXIT, texts.slot[TEXT_EXIT]);
  return menu;
}
