#include "app/dialog_controls.h"

#include <commctrl.h>

#include <cstdio>

void SetCenterWindow(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  int width = rect.right - rect.left;
  int height = rect.bottom - rect.top;
  int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  MoveWindow(window, x, y, width, height, TRUE);
}

namespace {
bool RadioLike(LONG style) { return (style & 0x0001) != 0 || (style & 0x0008) != 0; }
}  // namespace

void GroupRadioEnable(HWND first, BOOL enable) {
  LONG style = GetWindowLongA(first, GWL_STYLE);
  if (!RadioLike(style) || (style & WS_GROUP) == 0) return;
  EnableWindow(first, enable);
  for (HWND sibling = GetWindow(first, GW_HWNDNEXT); sibling != nullptr;
       sibling = GetWindow(sibling, GW_HWNDNEXT)) {
    style = GetWindowLongA(sibling, GWL_STYLE);
    if (!RadioLike(style) || (style & WS_GROUP) != 0) break;
    EnableWindow(sibling, enable);
  }
}

void InitLocalSpin(HWND upDown, HWND label, int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  SetWindowTextA(label, text);
  SendMessageA(upDown, UDM_SETRANGE, 0, MAKELPARAM(9, 1));
  SendMessageA(upDown, UDM_SETPOS, 0, MAKELPARAM(value, 0));
}

int GetDlgBoolByInt(HWND dialog, int controlId) {
  return IsDlgButtonChecked(dialog, controlId) == BST_CHECKED ? 1 : 0;
}
