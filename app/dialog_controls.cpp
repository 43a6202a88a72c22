#include "app/dialog_controls.h"

#include <commctrl.h>

#include <cwchar>

#include "base/display_dpi.h"
#include "base/owned_handles.h"

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
  wchar_t text[16];
  wsprintfW(text, L"%d", value);
  SetWindowTextW(label, text);
  SendMessageA(upDown, UDM_SETRANGE, 0, MAKELPARAM(9, 1));
  SendMessageA(upDown, UDM_SETPOS, 0, MAKELPARAM(value, 0));
}

int GetDlgBoolByInt(HWND dialog, int controlId) {
  return IsDlgButtonChecked(dialog, controlId) == BST_CHECKED ? 1 : 0;
}

namespace {

enum class LabelKind { kNone, kMarked, kPlain };

LabelKind KindOf(HWND control) {
  wchar_t className[16] = {};
  GetClassNameW(control, className, 16);
  LONG style = GetWindowLongW(control, GWL_STYLE);
  if (lstrcmpiW(className, L"Button") == 0) {
    switch (style & BS_TYPEMASK) {
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_3STATE:
      case BS_AUTO3STATE:
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON:
        return LabelKind::kMarked;
      default:
        return LabelKind::kNone;
    }
  }
  if (lstrcmpiW(className, L"Static") == 0 && (style & SS_TYPEMASK) == SS_LEFT) return LabelKind::kPlain;
  return LabelKind::kNone;
}

// A control's rectangle in the dialog's client coordinates.
RECT RectInDialog(HWND dialog, HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

bool IsGroupBox(HWND control) {
  return (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

// The right edge a control may grow to: the next control on its row (group
// boxes enclose, they do not stand beside), or the dialog's margin.
int RightLimit(HWND dialog, HWND control, const RECT& rect, int margin) {
  RECT client{};
  GetClientRect(dialog, &client);
  int limit = client.right - margin;
  for (HWND other = GetWindow(dialog, GW_CHILD); other != nullptr; other = GetWindow(other, GW_HWNDNEXT)) {
    if (other == control || IsGroupBox(other)) continue;
    RECT at = RectInDialog(dialog, other);
    bool sameRow = at.top < rect.bottom && at.bottom > rect.top;
    if (sameRow && at.left >= rect.right && at.left < limit) limit = at.left;
  }
  return limit;
}

}  // namespace

int LabelWidthNeeded(HWND control) {
  LabelKind kind = KindOf(control);
  if (kind == LabelKind::kNone) return 0;
  wchar_t text[kTextSize] = {};
  int length = GetWindowTextW(control, text, kTextSize);
  if (length <= 0) return 0;
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  ScreenDC dc(control);
  if (dc.Get() == nullptr) return 0;
  SIZE extent{};
  {
    SelectGuard selected(dc.Get(), font != nullptr ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    GetTextExtentPoint32W(dc.Get(), text, length, &extent);
  }
  if (kind == LabelKind::kPlain) return extent.cx;
  // The mark, and the gap the button leaves between it and its text.
  const int32_t dpi = WindowDpi(control);  // the dialog's monitor now, not the sign-in's
  return extent.cx + MetricAtDpi(SM_CXMENUCHECK, dpi) + 2 * MetricAtDpi(SM_CXEDGE, dpi) + 2;
}

void WidenCutLabels(HWND dialog) {
  RECT margin{7, 0, 0, 0};  // the template's own margin, in dialog units
  MapDialogRect(dialog, &margin);
  for (HWND control = GetWindow(dialog, GW_CHILD); control != nullptr; control = GetWindow(control, GW_HWNDNEXT)) {
    int needed = LabelWidthNeeded(control);
    RECT rect = RectInDialog(dialog, control);
    if (needed <= rect.right - rect.left) continue;
    int limit = RightLimit(dialog, control, rect, margin.left);
    int width = needed < limit - rect.left ? needed : limit - rect.left;
    if (width <= rect.right - rect.left) continue;
    SetWindowPos(control, nullptr, 0, 0, width, rect.bottom - rect.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

PathFit WideToAnsiPath(const wchar_t* wide, char* out) {
  out[0] = '\0';
  // A UTF-8 code page spells every name and takes neither the flag nor the test.
  const bool utf8 = GetACP() == CP_UTF8;
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  int needed = WideCharToMultiByte(CP_ACP, flags, wide, -1, nullptr, 0, nullptr, utf8 ? nullptr : &usedDefault);
  if (needed <= 0 || usedDefault) return kPathNotAnsi;
  if (needed > kTextSize) return kPathTooLong;
  WideCharToMultiByte(CP_ACP, flags, wide, -1, out, kTextSize, nullptr, nullptr);
  out[kTextSize - 1] = '\0';
  // Only a name that comes back the same names the same folder.
  wchar_t back[kTextSize] = {};
  MultiByteToWideChar(CP_ACP, 0, out, -1, back, kTextSize);
  if (std::wcscmp(back, wide) != 0) {
    out[0] = '\0';
    return kPathNotAnsi;
  }
  return kPathFits;
}
