#include "app/message_out.h"

#include <atomic>

void AnsiPathToWide(const char* text, wchar_t* out, size_t size) {
  if (size == 0) return;
  out[0] = L'\0';
  if (text == nullptr) return;
  int written = MultiByteToWideChar(CP_ACP, 0, text, -1, out, static_cast<int>(size));
  // A name longer than the room is cut rather than dropped.
  if (written == 0) {
    size_t at = 0;
    for (; at + 1 < size && text[at] != '\0' && static_cast<unsigned char>(text[at]) < 0x80; ++at) out[at] = text[at];
    out[at] = L'\0';
  }
  out[size - 1] = L'\0';
}

namespace {
std::atomic<int> messagesShowing{0};
}  // namespace

void MessageOut(HWND owner, const wchar_t* text) {
  ++messagesShowing;
  MessageBoxW(owner, text, L"Pipwink2", MB_OK | MB_SETFOREGROUND);
  --messagesShowing;
}

bool MessageShowing() { return messagesShowing.load() > 0; }
