#include "app/tray_icon.h"

#include <cstring>

#include "base/app_state.h"
#include "base/display_dpi.h"
#include "base/resource_ids.h"
#include "images/win32/alpha_bitmap.h"
#include "images/ico32_format.h"

namespace {

// The tray art's own size: the small icon size of an unscaled display.
constexpr int kArtSide = 16;

// An icon or cursor of size x size from the pixel block of an "ICO32"
// resource (straight alpha, bottom row first, at a fixed offset).
HICON MakeAlphaIcon(HMODULE module, int iconId, int size, BOOL isIcon, DWORD hotX, DWORD hotY) {
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(iconId), "ICO32");
  if (found == nullptr) return nullptr;
  const size_t pixelBytes = static_cast<size_t>(size) * size * 4;
  HGLOBAL loaded = LoadResource(module, found);
  const BYTE* bytes = loaded != nullptr ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
  // A resource too short for its pixel block is refused rather than over-read.
  if (bytes == nullptr || SizeofResource(module, found) < kIco32PixelOffset + pixelBytes) return nullptr;

  BITMAPV5HEADER header;
  UniqueBitmap colour = CreateBitmapV5(&header, size, size);  // bottom row first, as stored
  void* bits = AlphaBitmapBits(colour.Get());
  if (bits == nullptr) return nullptr;
  std::memcpy(bits, bytes + kIco32PixelOffset, pixelBytes);
  // The icon gets copies of both bitmaps: ours go when this returns.
  UniqueBitmap mask(CreateBitmap(size, size, 1, 1, nullptr));

  ICONINFO info{};
  info.fIcon = isIcon;
  info.xHotspot = hotX;
  info.yHotspot = hotY;
  info.hbmMask = mask.Get();
  info.hbmColor = colour.Get();
  return CreateIconIndirect(&info);
}

void CopyTip(NOTIFYICONDATAW& data, const wchar_t* tip) {
  lstrcpynW(data.szTip, tip, static_cast<int>(sizeof data.szTip / sizeof data.szTip[0]));
}

}  // namespace

BOOL LetTaskbarCreatedThrough(HWND window, UINT taskbarCreated) {
  return taskbarCreated != 0 && ChangeWindowMessageFilterEx(window, taskbarCreated, MSGFLT_ALLOW, nullptr);
}

TrayIcon::TrayIcon(NotifyIconCall notify)
    : data_{}, module_(GetModuleHandleA(nullptr)), notify_(notify != nullptr ? notify : Shell_NotifyIconW) {}

HICON TrayIcon::MakeIcon(int iconId) {
  // The notification area's size now, not at sign-in: the scale may have changed since.
  return MakeIconAt(iconId, MetricAtDpi(SM_CXSMICON, WindowDpi(data_.hWnd)));
}

HICON TrayIcon::MakeIconAt(int iconId, int size) {
  if (size <= 0 || size == kArtSide) return MakeAlphaIcon(module_, iconId, kArtSide, TRUE, 0, 0);
  if (FindResourceA(module_, MAKEINTRESOURCEA(iconId), "ICO32") == nullptr) return nullptr;
  return static_cast<HICON>(LoadImageW(module_, MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON, size, size, 0));
}

void TrayIcon::TakeIcon(int iconId) {
  // The shell keeps its own copy of the icon: the one it replaced is ours to free.
  icon_.Reset(MakeIcon(iconId));
  data_.hIcon = icon_.Get();
}

BOOL TrayIcon::Add(HWND window, int iconId, UINT callbackMessage, const wchar_t* tip) {
  // The shell checks the record size against the layouts it knows; the second
  // layout's size is the platform's own constant.
  data_.cbSize = NOTIFYICONDATAW_V2_SIZE;
  data_.hWnd = window;
  data_.uID = 1;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = callbackMessage;
  CopyTip(data_, tip);
  // The old icon goes only after the shell has its copy of the new one.
  UniqueIcon previous(icon_.Release());
  TakeIcon(iconId);
  return notify_(NIM_ADD, &data_);
}

BOOL TrayIcon::Modify(int iconId, const wchar_t* tip) {
  if (iconId == 0 && tip == nullptr) return FALSE;
  UniqueIcon previous;
  if (iconId != 0) {
    previous.Reset(icon_.Release());
    TakeIcon(iconId);
  }
  if (tip != nullptr) CopyTip(data_, tip);
  return notify_(NIM_MODIFY, &data_);
}

BOOL TrayIcon::Remove() { return notify_(NIM_DELETE, &data_); }

BOOL TrayIcon::ShowBalloon(const wchar_t* text) {
  lstrcpynW(data_.szInfo, text, ARRAYSIZE(data_.szInfo));
  lstrcpynW(data_.szInfoTitle, L"Tovik2", ARRAYSIZE(data_.szInfoTitle));
  data_.dwInfoFlags = NIIF_INFO;
  const UINT flags = data_.uFlags;
  data_.uFlags = NIF_INFO;  // the icon and tip stay as they are
  const BOOL shown = Shell_NotifyIconW(NIM_MODIFY, &data_);
  data_.uFlags = flags;
  return shown;
}

HCURSOR PrepairAlphaIcon(int iconId, int hotX, int hotY) {
  return MakeAlphaIcon(appInstance, iconId, 32, FALSE, static_cast<DWORD>(hotX), static_cast<DWORD>(hotY));
}
