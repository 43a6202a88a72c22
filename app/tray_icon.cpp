#include "app/tray_icon.h"

#include <cstring>

#include "base/app_state.h"
#include "images/alpha_bitmap.h"
#include "images/ico32_format.h"

TrayIcon trayIcon;

namespace {

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
  HBITMAP colour = CreateBitmapV5(&header, size, size);  // bottom row first, as stored
  void* bits = AlphaBitmapBits(colour);
  if (bits == nullptr) {
    if (colour != nullptr) DeleteObject(colour);
    return nullptr;
  }
  std::memcpy(bits, bytes + kIco32PixelOffset, pixelBytes);
  HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);

  ICONINFO info{};
  info.fIcon = isIcon;
  info.xHotspot = hotX;
  info.yHotspot = hotY;
  info.hbmMask = mask;
  info.hbmColor = colour;
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(mask);
  DeleteObject(colour);
  return icon;
}

void CopyTip(NOTIFYICONDATAA& data, const char* tip) {
  std::strncpy(data.szTip, tip, sizeof data.szTip - 1);
  data.szTip[sizeof data.szTip - 1] = '\0';
}

}  // namespace

TrayIcon::TrayIcon() : data_{}, module_(GetModuleHandleA(nullptr)) {}

HICON TrayIcon::MakeIcon(int iconId) { return MakeAlphaIcon(module_, iconId, 16, TRUE, 0, 0); }

BOOL TrayIcon::Add(HWND window, int iconId, UINT callbackMessage, const char* tip) {
  // The shell checks the record size against the layouts it knows; the second
  // layout's size is the platform's own constant (488 bytes only in 32-bit builds).
  data_.cbSize = NOTIFYICONDATAA_V2_SIZE;
  data_.hWnd = window;
  data_.uID = 1;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.hIcon = MakeIcon(iconId);
  data_.uCallbackMessage = callbackMessage;
  CopyTip(data_, tip);
  return Shell_NotifyIconA(NIM_ADD, &data_);
}

BOOL TrayIcon::Modify(int iconId, const char* tip) {
  if (iconId == 0 && tip == nullptr) return FALSE;
  HICON previous = nullptr;
  if (iconId != 0) {
    previous = data_.hIcon;
    data_.hIcon = MakeIcon(iconId);
  }
  if (tip != nullptr) CopyTip(data_, tip);
  BOOL done = Shell_NotifyIconA(NIM_MODIFY, &data_);
  // The shell keeps its own copy of the icon: the one it replaced is ours to free.
  if (previous != nullptr) DestroyIcon(previous);
  return done;
}

BOOL TrayIcon::Remove() { return Shell_NotifyIconA(NIM_DELETE, &data_); }

HCURSOR PrepairAlphaIcon(int iconId, int hotX, int hotY) {
  return MakeAlphaIcon(appInstance, iconId, 32, FALSE, static_cast<DWORD>(hotX), static_cast<DWORD>(hotY));
}
